// The journal of one extraction: every file and folder it adds and every file it sets aside,
// written down before the change is made, so that a failed extraction can be undone and one
// that a kill ended is undone by the next. It lives in the destination as
// ".ostrel-unzip-<number>.journal", a line a change:
//
//   ostrel-unzip-journal 1        the first line
//   D <path>                      a folder the extraction made
//   F <path>                      a file put where nothing was
//   R <path> <aside>              the file at path renamed to aside, in its folder, before the
//                                 new one took its name
//   C                             every entry in place: what is set aside is to be removed
//
// Paths are the entries' parts joined with "/"; bytes up to the space, "%" and DEL are written
// "%XX". A file set aside is named "<name>.ostrel-old-<n>".
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/file.h"
#include "platform/folder.h"

struct UnzipChange {
  enum class Kind : char { kAddedFolder = 'D', kAddedFile = 'F', kSetAside = 'R' };
  Kind kind = Kind::kAddedFile;
  std::vector<std::string> parts;  // below the destination
  std::string aside;               // kSetAside: the old file's name now
};

// True for the names the extraction gives its own files (temporaries, journals, files set
// aside): no archive entry may take them.
bool IsUnzipBookkeepingName(const std::string& name);

// A free name beside name for the file that is there now: "<name>.ostrel-old-<n>".
std::string FreeAsideName(const platform::Folder& folder, const std::string& name);

class UnzipJournal {
 public:
  // A new journal in the destination root; nullptr when it can't be written (nothing is
  // changed then).
  static std::unique_ptr<UnzipJournal> Begin(const platform::Folder& root);
  ~UnzipJournal();
  UnzipJournal(const UnzipJournal&) = delete;
  UnzipJournal& operator=(const UnzipJournal&) = delete;

  // Written before the change is made; false when it can't be written (the change must not
  // be made then). Safe from several threads.
  bool Record(const UnzipChange& change);

  // Undoes every recorded change, newest first: removes what was added, puts back what was set
  // aside. The journal goes when everything is undone; otherwise it stays for the next run.
  // True when everything is undone.
  bool RollBack();

  // Every entry is in place: the files set aside are removed; one still in use stays, to be
  // removed at the next restart (where the system allows it) or by the next extraction, and
  // the journal stays for it. Returns how many stay.
  size_t Commit();

 private:
  UnzipJournal(const platform::Folder& root, std::string name, platform::File file);

  const platform::Folder& root_;
  const std::string name_;
  platform::File file_;
  std::mutex mutex_;
  std::vector<UnzipChange> changes_;
};

// Before an extraction: every journal that an earlier extraction left in the destination root
// is taken up: one without its "C" line is undone, one with it has its files set aside removed.
// A journal whose work can't be done yet stays. False when an earlier extraction could not be
// undone: nothing may be extracted into the destination then.
bool RecoverUnzipJournals(const platform::Folder& root);
