#include "support/UnzipJournal.h"

#include <atomic>
#include <cstdio>
#include <optional>
#include <random>
#include <string_view>

#include "platform/text.h"
#include "support/UnzipTemporary.h"
#include "support/ZipEntryName.h"
#include "support/ZipFolders.h"

namespace {

using Kind = UnzipChange::Kind;
using EntryKind = platform::Folder::EntryKind;

const std::string kJournalPrefix = ".ostrel-unzip-";
const std::string kJournalSuffix = ".journal";
const std::string kAsideInfix = ".ostrel-old-";
const std::string kHeader = "ostrel-unzip-journal 1\n";
constexpr size_t kMaxJournalBytes = 64 << 20;
constexpr int kCreateAttempts = 100;

bool IsJournalName(const std::string& name) {
  if (name.size() <= kJournalPrefix.size() + kJournalSuffix.size() || name.rfind(kJournalPrefix, 0) != 0 ||
      name.compare(name.size() - kJournalSuffix.size(), kJournalSuffix.size(), kJournalSuffix) != 0)
    return false;
  for (size_t i = kJournalPrefix.size(); i < name.size() - kJournalSuffix.size(); ++i)
    if (name[i] < '0' || name[i] > '9') return false;
  return true;
}

std::string Escape(std::string_view text) {
  std::string out;
  for (const unsigned char c : text) {
    if (c <= ' ' || c == '%' || c == 0x7F) {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::optional<std::string> Unescape(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    const int high = platform::HexDigitValue(text[i + 1]), low = platform::HexDigitValue(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

std::string LineOf(const UnzipChange& change) {
  std::string line(1, static_cast<char>(change.kind));
  line += ' ' + Escape(JoinZipEntryPath(change.parts));
  if (change.kind == Kind::kSetAside) line += ' ' + Escape(change.aside);
  return line + '\n';
}

// One line without its end; nullopt for a line that isn't a change.
std::optional<UnzipChange> ParseChange(std::string_view line) {
  if (line.size() < 3 || line[1] != ' ') return std::nullopt;
  UnzipChange change;
  change.kind = static_cast<Kind>(line[0]);
  if (change.kind != Kind::kAddedFolder && change.kind != Kind::kAddedFile && change.kind != Kind::kSetAside)
    return std::nullopt;
  std::string_view rest = line.substr(2);
  const size_t space = rest.find(' ');
  if ((space == std::string_view::npos) != (change.kind != Kind::kSetAside)) return std::nullopt;
  const std::optional<std::string> path = Unescape(rest.substr(0, space));
  const std::optional<ZipEntryPath> parts = path ? ZipEntryPathFromName(*path) : std::nullopt;
  if (!parts || parts->parts.empty()) return std::nullopt;
  change.parts = parts->parts;
  if (change.kind == Kind::kSetAside) {
    const std::optional<std::string> aside = Unescape(rest.substr(space + 1));
    const std::optional<ZipEntryPath> asideParts = aside ? ZipEntryPathFromName(*aside) : std::nullopt;
    // The name of one file in the same folder, of the set-aside form.
    if (!asideParts || asideParts->parts.size() != 1 || asideParts->parts[0] != *aside ||
        aside->find(kAsideInfix) == std::string::npos)
      return std::nullopt;
    change.aside = *aside;
  }
  return change;
}

struct JournalText {
  std::vector<UnzipChange> changes;
  bool committed = false;
};

// The changes of a journal's complete lines; a torn last line is a change never made. Reading
// stops at a line that isn't one of ours.
JournalText ParseJournal(std::string_view text) {
  JournalText journal;
  if (text.rfind(kHeader, 0) != 0) return journal;
  size_t at = kHeader.size();
  for (size_t end; (end = text.find('\n', at)) != std::string_view::npos; at = end + 1) {
    const std::string_view line = text.substr(at, end - at);
    if (line == "C") {
      journal.committed = true;
      break;
    }
    const std::optional<UnzipChange> change = ParseChange(line);
    if (!change) break;
    journal.changes.push_back(*change);
  }
  return journal;
}

std::optional<std::string> ReadJournal(const platform::Folder& root, const std::string& name) {
  platform::File file = root.OpenForReading(name);
  if (!file.IsOpen()) return std::nullopt;
  std::string text;
  char buffer[64 << 10];
  for (int64_t n; (n = file.Read(buffer, sizeof buffer)) > 0;) {
    text.append(buffer, static_cast<size_t>(n));
    if (text.size() > kMaxJournalBytes) return std::nullopt;
  }
  return text;
}

platform::Folder FolderOf(const platform::Folder& root, const UnzipChange& change) {
  return OpenFolderBelow(root, change.parts, change.parts.size() - 1, false);
}

// Undoes one change; false when it can't be undone now.
bool Undo(const platform::Folder& root, const UnzipChange& change) {
  const platform::Folder folder = FolderOf(root, change);
  const std::string& name = change.parts.back();
  if (!folder.IsOpen()) return change.kind != Kind::kSetAside;  // nothing of it can be there
  switch (change.kind) {
    case Kind::kSetAside: {
      if (folder.Inspect(change.aside).kind == EntryKind::Missing) return true;  // never set aside, or back
      const EntryKind there = folder.Inspect(name).kind;
      if (there != EntryKind::Missing && (there == EntryKind::Folder || !folder.Remove(name))) return false;
      return folder.RenameNoReplace(change.aside, name) == platform::FileError::None;
    }
    case Kind::kAddedFile: {
      const EntryKind there = folder.Inspect(name).kind;
      return (there != EntryKind::File && there != EntryKind::Link) || folder.Remove(name);
    }
    case Kind::kAddedFolder: {
      // What a killed run left in it goes with it; anything else keeps it. The folder is closed
      // before it is removed (Windows removes no folder that is open).
      if (const platform::Folder added = folder.OpenChild(name, false); added.IsOpen()) RemoveUnzipLeftovers(added);
      folder.RemoveFolder(name);
      return true;
    }
  }
  return false;
}

bool UndoAll(const platform::Folder& root, const std::vector<UnzipChange>& changes) {
  bool all = true;
  for (auto it = changes.rbegin(); it != changes.rend(); ++it) all = Undo(root, *it) && all;
  return all;
}

// Removes the files set aside; returns how many stay (in use).
size_t RemoveSetAside(const platform::Folder& root, const std::vector<UnzipChange>& changes) {
  size_t staying = 0;
  for (const UnzipChange& change : changes) {
    if (change.kind != Kind::kSetAside) continue;
    const platform::Folder folder = FolderOf(root, change);
    if (!folder.IsOpen() || folder.Inspect(change.aside).kind == EntryKind::Missing) continue;
    if (folder.Remove(change.aside)) continue;
    folder.RemoveAtRestart(change.aside);
    ++staying;
  }
  return staying;
}

}  // namespace

bool IsUnzipBookkeepingName(const std::string& name) {
  return name.rfind(kJournalPrefix, 0) == 0 || name.find(kAsideInfix) != std::string::npos;
}

std::string FreeAsideName(const platform::Folder& folder, const std::string& name) {
  for (unsigned n = 1;; ++n) {
    std::string aside = name + kAsideInfix + std::to_string(n);
    if (folder.Inspect(aside).kind == EntryKind::Missing || n == 100000) return aside;
  }
}

std::unique_ptr<UnzipJournal> UnzipJournal::Begin(const platform::Folder& root) {
  static std::atomic<uint64_t> counter{std::random_device{}() % 1000000};
  for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
    std::string name = kJournalPrefix + std::to_string(counter++) + kJournalSuffix;
    platform::File file = root.CreateNewFile(name, 0644);
    if (file.IsOpen()) {
      if (!file.Write(kHeader.data(), kHeader.size())) {
        file.Close();
        root.Remove(name);
        return nullptr;
      }
      return std::unique_ptr<UnzipJournal>(new UnzipJournal(root, std::move(name), std::move(file)));
    }
    if (file.Error() != platform::FileError::Exists) break;
  }
  return nullptr;
}

UnzipJournal::UnzipJournal(const platform::Folder& root, std::string name, platform::File file)
    : root_(root), name_(std::move(name)), file_(std::move(file)) {}

UnzipJournal::~UnzipJournal() = default;

bool UnzipJournal::Record(const UnzipChange& change) {
  const std::string line = LineOf(change);
  const std::lock_guard<std::mutex> lock(mutex_);
  if (!file_.Write(line.data(), line.size())) return false;
  changes_.push_back(change);
  return true;
}

bool UnzipJournal::RollBack() {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (!UndoAll(root_, changes_)) return false;
  file_.Close();
  root_.Remove(name_);
  return true;
}

size_t UnzipJournal::Commit() {
  const std::lock_guard<std::mutex> lock(mutex_);
  const bool marked = file_.Write("C\n", 2);
  const size_t staying = RemoveSetAside(root_, changes_);
  file_.Close();
  // Without its "C" line the journal would undo a finished install: it goes in any case then.
  if (staying == 0 || !marked) root_.Remove(name_);
  return staying;
}

bool RecoverUnzipJournals(const platform::Folder& root) {
  bool ready = true;
  for (const std::string& name : root.Names()) {
    if (!IsJournalName(name) || root.Inspect(name).kind != EntryKind::File) continue;
    const std::optional<std::string> text = ReadJournal(root, name);
    if (!text) {
      ready = false;
      continue;
    }
    const JournalText journal = ParseJournal(*text);
    const bool done = journal.committed ? RemoveSetAside(root, journal.changes) == 0 : UndoAll(root, journal.changes);
    if (done) root.Remove(name);
    if (!done && !journal.committed) ready = false;
  }
  return ready;
}
