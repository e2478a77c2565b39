// A Delphi Tools menu list: "Count" and, for each entry 0 .. Count - 1, four
// string values "Title%d", "Path%d", "WorkingDir%d" and "Params%d". Delphi 2
// and 3 keep it in the registry, Delphi 1 in the "Transfer" section of
// "Delphi.INI". The system's entry is the one whose path is the stand-alone
// program; entries of other programs keep their order and their values.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "Profile.h"

// A "Count" that is not a number: nothing is changed in that list.
class ETransferCount : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One store of a list. Names are full value names ("Path3").
class TTransferList {
 public:
  virtual ~TTransferList() = default;
  // Opens the list; false when that Delphi is not installed.
  virtual bool Open() = 0;
  // The version named in messages ("2.0").
  virtual std::string Version() const = 0;
  // A value; false when it is absent or cannot be read as a string.
  virtual bool Read(const std::string& name, std::string& value) = 0;
  // Whether a value of that name is there, string or not.
  virtual bool Exists(const std::string& name) = 0;
  // The names of every value there: searches go by what is present, so
  // that a huge "Count" costs nothing.
  virtual std::vector<std::string> Names() = 0;
  virtual void Write(const std::string& name, const std::string& value) = 0;
  virtual void Delete(const std::string& name) = 0;
  // While renumbering: the value named from takes the name to.
  virtual void Move(const std::string& from, const std::string& to) = 0;
  // After renumbering down to count entries, what remains at index count.
  virtual void DropAfterCompaction(int /*count*/) {}
};

// Delphi 2 or 3: the key "Software\Borland\Delphi\<version>\Transfer".
class TRegistryTransferList : public TTransferList {
 public:
  explicit TRegistryTransferList(std::string version) : version_(std::move(version)) {}
  bool Open() override;
  std::string Version() const override { return version_; }
  bool Read(const std::string& name, std::string& value) override;
  bool Exists(const std::string& name) override;
  std::vector<std::string> Names() override;
  void Write(const std::string& name, const std::string& value) override;
  void Delete(const std::string& name) override;
  // A rename that keeps data and type, and never overwrites.
  void Move(const std::string& from, const std::string& to) override;

 private:
  std::string version_;
  TRegistry reg_;
};

// Delphi 1: the "Transfer" section of the profile file; installed when the
// section has a "Count". An absent key reads as "#".
class TIniTransferList : public TTransferList {
 public:
  explicit TIniTransferList(TIniFile& ini) : ini_(ini) {}
  bool Open() override;
  std::string Version() const override;
  bool Read(const std::string& name, std::string& value) override;
  bool Exists(const std::string& name) override;
  std::vector<std::string> Names() override;
  void Write(const std::string& name, const std::string& value) override;
  void Delete(const std::string& name) override;
  // An absent key becomes an empty one.
  void Move(const std::string& from, const std::string& to) override;
  // The old last entry, copied one place down, goes.
  void DropAfterCompaction(int count) override;

 private:
  TIniFile& ini_;
};

// "Title" + index.
std::string EntryName(const char* value, int index);
// The index of a name such as "Path12" (letter case aside, decimal without
// leading zeros); false for any other name.
bool EntryIndex(const std::string& name, const char* value, int& index);

// The number of entries a "Count" text means for the reading pass: 0 when it
// is not a number; a negative count is an empty list.
int TransferCountOrZero(const std::string& text);

// The lowest index below count whose path is exePath, letter case aside
// (ASCII letters); -1 when there is none.
int FindTransferEntry(TTransferList& list, int count, const std::string& exePath);

enum class TToolChange { Done, NotInstalled, NotFound };

// Rewrites the system's entry in place, or appends it after the last entry.
// Raises ETransferCount when "Count" is not a number.
TToolChange AddTransferEntry(TTransferList& list, const std::string& exePath);
// Deletes the system's entry and lowers "Count"; removed is its index, for
// the renumbering that follows (CompactTransferList). An entry that is no
// longer there (another program changed the list) changes nothing: NotFound.
TToolChange RemoveTransferEntry(TTransferList& list, const std::string& exePath, int& removed);
// Moves the entries after index one place down, as far as "Count" says.
void CompactTransferList(TTransferList& list, int index);
