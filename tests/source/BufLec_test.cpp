#include <gtest/gtest.h>

#include <string>

#include "BufLec.h"
#include "Ridarar.h"
#include "TempFiles.h"

namespace {

// Reads n characters.
std::string Read(TBufLec& reader, std::size_t n) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s += reader.NextChar();
  return s;
}

}  // namespace

TEST(MemoryBufLec, FoldsAsciiOnlyAndGivesTheTokenAsWritten) {
  const char text[] = "begin\xE9x";
  TMemoryBufLec reader(text);
  EXPECT_EQ(Read(reader, 7), "BEGIN\xE9X");
  reader.Rewind();
  std::string token;
  reader.TakeToken(5, token);
  EXPECT_EQ(token, "begin");
  EXPECT_EQ(reader.TokenStart, 5u);
  EXPECT_EQ(reader.Position, 5u);
  EXPECT_EQ(reader.NextChar(), '\xE9');
  EXPECT_FALSE(reader.EndOfFile);
}

TEST(MemoryBufLec, EndReturnsNulEveryTimeWithoutMoving) {
  TMemoryBufLec reader("ab");
  Read(reader, 2);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(reader.NextChar(), '\0');
    EXPECT_TRUE(reader.EndReached());
    EXPECT_EQ(reader.Position, 2u);
  }
  TMemoryBufLec empty(nullptr);
  EXPECT_EQ(empty.NextChar(), '\0');
}

TEST(MemoryBufLec, StepBackStopsAtTokenStartAndTakeTokenZeroOnlyRewinds) {
  TMemoryBufLec reader("abcd");
  std::string token;
  reader.NextChar();
  reader.TakeToken(1, token);
  reader.StepBack();  // at the token start: nothing
  EXPECT_EQ(reader.Position, 1u);
  Read(reader, 2);
  reader.StepBack();
  EXPECT_EQ(reader.NextChar(), 'C');
  reader.TakeToken(0, token);
  EXPECT_EQ(token, "");
  EXPECT_EQ(reader.Position, 1u);
  EXPECT_EQ(reader.NextChar(), 'B');
}

TEST(MemoryBufLec, SetTextStartsOver) {
  TMemoryBufLec reader("first");
  Read(reader, 3);
  reader.SetText("second");
  EXPECT_EQ(reader.Position, 0u);
  EXPECT_EQ(Read(reader, 6), "SECOND");
}

TEST(FileBufLec, EmptyFileEndsAtOnce) {
  TTempDir dir;
  TFileBufLec reader(dir.Write("empty.pas", ""));
  EXPECT_TRUE(reader.EndOfFile);
  EXPECT_EQ(reader.NextChar(), '\0');
  EXPECT_TRUE(reader.EndReached());
}

TEST(FileBufLec, ReadsFoldedAndTakesAsWritten) {
  TTempDir dir;
  TFileBufLec reader(dir.Write("b.pas", "begin end"));
  EXPECT_EQ(Read(reader, 5), "BEGIN");
  reader.Rewind();
  std::string token;
  reader.TakeToken(5, token);
  EXPECT_EQ(token, "begin");
  EXPECT_EQ(Read(reader, 4), " END");
  EXPECT_EQ(reader.NextChar(), '\0');
}

TEST(FileBufLec, FileOfExactlyOneHalfRefillsOnceAtItsEnd) {
  TTempDir dir;
  const std::string bytes(TFileBufLec::DefaultHalfSize, 'x');
  TFileBufLec reader(dir.Write("half.pas", bytes));
  EXPECT_FALSE(reader.EndOfFile);  // a full first block: more may follow
  EXPECT_EQ(Read(reader, bytes.size()), std::string(bytes.size(), 'X'));
  EXPECT_EQ(reader.NextChar(), '\0');
  EXPECT_TRUE(reader.EndOfFile);
  EXPECT_TRUE(reader.EndReached());
  EXPECT_EQ(reader.Buffer[TFileBufLec::DefaultHalfSize], '\0');
  EXPECT_EQ(reader.NextChar(), '\0');
}

TEST(FileBufLec, NulByteInsideTheFileIsACharacter) {
  TTempDir dir;
  TFileBufLec reader(dir.Write("zero.pas", std::string("a\0b", 3)));
  EXPECT_EQ(reader.NextChar(), 'A');
  EXPECT_EQ(reader.NextChar(), '\0');
  EXPECT_FALSE(reader.EndReached());
  EXPECT_EQ(reader.NextChar(), 'B');
  EXPECT_EQ(reader.NextChar(), '\0');
  EXPECT_TRUE(reader.EndReached());
  reader.Rewind();
  std::string token;
  reader.TakeToken(3, token);
  EXPECT_EQ(token, std::string("a\0b", 3));
}

TEST(FileBufLec, ResetStartsTheFileOver) {
  TTempDir dir;
  TFileBufLec reader(dir.Write("r.pas", "abcdefghij"), 3);
  EXPECT_EQ(Read(reader, 8), "ABCDEFGH");
  reader.Reset();
  EXPECT_FALSE(reader.EndOfFile);
  EXPECT_EQ(Read(reader, 11), std::string("ABCDEFGHIJ\0", 11));
}

TEST(FileBufLec, TokenAcrossRefillsIsReReadAndTakenWhole) {
  TTempDir dir;
  // Halves of 4: the token "cdefghijk" spans three refills.
  TFileBufLec reader(dir.Write("t.pas", "ab cdefghijk;"), 4);
  std::string token;
  Read(reader, 3);
  reader.Rewind();
  reader.TakeToken(3, token);
  EXPECT_EQ(token, "ab ");
  EXPECT_EQ(Read(reader, 10), "CDEFGHIJK;");
  reader.Rewind();
  EXPECT_EQ(Read(reader, 10), "CDEFGHIJK;");  // no refill repeated, nothing lost
  reader.StepBack();
  reader.StepBack();
  EXPECT_EQ(reader.NextChar(), 'K');
  reader.Rewind();
  reader.TakeToken(9, token);
  EXPECT_EQ(token, "cdefghijk");
  EXPECT_EQ(Read(reader, 2), std::string(";\0", 2));
}

TEST(FileBufLec, StepBackCrossesIntoTheCarriedCharacters) {
  TTempDir dir;
  TFileBufLec reader(dir.Write("s.pas", "abcdef"), 2);
  EXPECT_EQ(Read(reader, 3), "ABC");  // "ab" carried, "c" in the new half
  reader.StepBack();
  reader.StepBack();
  reader.StepBack();
  reader.StepBack();  // at the token start: stays
  EXPECT_EQ(Read(reader, 4), "ABCD");
  std::string token;
  reader.TakeToken(1, token);  // part of the carry only
  EXPECT_EQ(token, "a");
  EXPECT_EQ(Read(reader, 5), std::string("BCDEF", 5));
  reader.Rewind();
  reader.TakeToken(99, token);  // never past the valid text
  EXPECT_EQ(token, "bcdef");
}

TEST(FileBufLec, MissingFileRaisesTheInputOutputErrorWithItsName) {
  TTempDir dir;
  const std::string name = dir.Missing("nowhere.pas");
  try {
    TFileBufLec reader(name);
    FAIL() << "opened a missing file";
  } catch (const EInOutError& e) {
    EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
  }
}

namespace {
struct TThrowingPresenter : TMessagePresenter {
  void ShowWarning(const std::string&) override {}
  bool ShowWarnOrStop(const std::string&) override { return true; }
  void ShowFatalError(const std::string& text) override { throw std::runtime_error(text); }
};
}  // namespace

TEST(FileBufLec, NoMemoryForTheBufferIsFatalAndNamesTheFile) {
  TTempDir dir;
  const std::string name = dir.Write("m.pas", "x");
  TThrowingPresenter presenter;
  TMessagePresenter* previous = SetMessagePresenter(&presenter);
  try {
    TFileBufLec reader(name, SIZE_MAX / 2);  // no such block can exist
    ADD_FAILURE() << "allocated an impossible block";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "Insufficient memory to create a buffer for " + name);
  }
  SetMessagePresenter(previous);
}
