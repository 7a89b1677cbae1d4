// The names of the window's controls, one constant each. The window description names its controls
// through these and so does every unit that reaches a control: a misspelt name does not compile.
#pragma once

#include <string_view>

namespace ostrel::skin::ctl {

inline constexpr std::string_view nbMain = "nbMain";
inline constexpr std::string_view AZ = "AZ";
inline constexpr std::string_view pnlAZ = "pnlAZ";
inline constexpr std::string_view imgBg1 = "imgBg1";
inline constexpr std::string_view imgbtn_AZ = "imgbtn_AZ";
inline constexpr std::string_view lblAZ = "lblAZ";
inline constexpr std::string_view lblBT = "lblBT";
inline constexpr std::string_view lblVersion = "lblVersion";
inline constexpr std::string_view imgClose = "imgClose";
inline constexpr std::string_view lblClose = "lblClose";
inline constexpr std::string_view lblTS1 = "lblTS1";
inline constexpr std::string_view imgico_bb = "imgico_bb";
inline constexpr std::string_view lbl_ts = "lbl_ts";
inline constexpr std::string_view SZ = "SZ";
inline constexpr std::string_view pnlXZ = "pnlXZ";
inline constexpr std::string_view imgBg2 = "imgBg2";
inline constexpr std::string_view imgbtn_LJAZ = "imgbtn_LJAZ";
inline constexpr std::string_view lblLJAZ = "lblLJAZ";
inline constexpr std::string_view lblFH = "lblFH";
inline constexpr std::string_view imgbtn_LL = "imgbtn_LL";
inline constexpr std::string_view lblLL = "lblLL";
inline constexpr std::string_view imginput_azlj = "imginput_azlj";
inline constexpr std::string_view lblSZ3 = "lblSZ3";
inline constexpr std::string_view imgSettingIcon = "imgSettingIcon";
inline constexpr std::string_view lbl2 = "lbl2";
inline constexpr std::string_view lblVersion2 = "lblVersion2";
inline constexpr std::string_view imgClose2 = "imgClose2";
inline constexpr std::string_view lblClose2 = "lblClose2";
inline constexpr std::string_view edtAZLJ = "edtAZLJ";
inline constexpr std::string_view XZ = "XZ";
inline constexpr std::string_view pnlInstalling = "pnlInstalling";
inline constexpr std::string_view pnlXZ1 = "pnlXZ1";
inline constexpr std::string_view imgbtn_XZ = "imgbtn_XZ";
inline constexpr std::string_view lblDownLoadState = "lblDownLoadState";
inline constexpr std::string_view lblJD = "lblJD";
inline constexpr std::string_view lblErrorHint = "lblErrorHint";
inline constexpr std::string_view lblXZ = "lblXZ";
inline constexpr std::string_view pnlJD = "pnlJD";
inline constexpr std::string_view lblJDT = "lblJDT";
inline constexpr std::string_view nbPicBrowse = "nbPicBrowse";
inline constexpr std::string_view Default = "Default";
inline constexpr std::string_view pnlPic1 = "pnlPic1";
inline constexpr std::string_view imgBg31 = "imgBg31";
inline constexpr std::string_view imgClose31 = "imgClose31";
inline constexpr std::string_view lblClose31 = "lblClose31";
inline constexpr std::string_view Pic2 = "Pic2";
inline constexpr std::string_view pnlPic2 = "pnlPic2";
inline constexpr std::string_view img32 = "img32";
inline constexpr std::string_view imgClose32 = "imgClose32";
inline constexpr std::string_view lblClose32 = "lblClose32";
inline constexpr std::string_view pic3 = "pic3";
inline constexpr std::string_view pnlPic3 = "pnlPic3";
inline constexpr std::string_view img33 = "img33";
inline constexpr std::string_view imgClose33 = "imgClose33";
inline constexpr std::string_view lblClose33 = "lblClose33";
inline constexpr std::string_view WC = "WC";
inline constexpr std::string_view pnlWC = "pnlWC";
inline constexpr std::string_view imgBg4 = "imgBg4";
inline constexpr std::string_view imgbtn_WC = "imgbtn_WC";
inline constexpr std::string_view lblWC = "lblWC";
inline constexpr std::string_view imgWCIcon = "imgWCIcon";
inline constexpr std::string_view lbl3 = "lbl3";
inline constexpr std::string_view imgClose4 = "imgClose4";
inline constexpr std::string_view lblClose4 = "lblClose4";
inline constexpr std::string_view tmr1 = "tmr1";
inline constexpr std::string_view tmrPic = "tmrPic";
inline constexpr std::string_view tmr2 = "tmr2";
inline constexpr std::string_view tmr3 = "tmr3";

}  // namespace ostrel::skin::ctl
