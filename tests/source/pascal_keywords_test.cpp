#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>

#include "pascal_keywords.h"
#include "pascal_tokens.h"

namespace {

// The reserved words with their codes, as the rest of the program knows them.
const char* const CodeList =
    "29 AND 30 EXPORTS 31 MOD 32 SHR 33 ARRAY 34 FILE 35 NIL 36 STRING 37 AS 38 FINALIZATION 39 NOT "
    "40 STRINGRESOURCE 41 ASM 42 FINALLY 43 OBJECT 44 THEN 45 BEGIN 46 FOR 47 OF 48 THREADVAR 49 CASE "
    "50 FUNCTION 51 OR 52 TO 53 CLASS 54 GOTO 55 OUT 56 TRY 57 CONST 58 IF 59 PACKED 60 TYPE "
    "61 CONSTRUCTOR 62 IMPLEMENTATION 63 PROCEDURE 64 UNIT 65 DESTRUCTOR 66 IN 67 PROGRAM 68 UNTIL "
    "69 DISPINTERFACE 70 INHERITED 71 PROPERTY 72 USES 73 DIV 74 INITIALIZATION 75 RAISE 76 VAR 77 DO "
    "78 INLINE 79 RECORD 80 WHILE 81 DOWNTO 82 INTERFACE 83 REPEAT 84 WITH 85 ELSE 86 IS "
    "87 RESOURCESTRING 88 XOR 89 END 90 LABEL 91 SET 92 EXCEPT 93 LIBRARY 94 SHL 95 ON";

std::map<std::string, int> Codes() {
  std::map<std::string, int> codes;
  std::istringstream in(CodeList);
  int code;
  std::string word;
  while (in >> code >> word) codes[word] = code;
  return codes;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

TEST(KeywordList, AcceptOrderGivesEachWordItsCode) {
  const auto codes = Codes();
  ASSERT_EQ(codes.size(), KeywordCount);
  std::set<int> seen;
  for (unsigned k = 0; k < KeywordCount; ++k) {
    const std::string word = KeywordsByAccept[k];
    ASSERT_EQ(codes.count(word), 1u) << word;
    EXPECT_EQ(KeywordCodeOfAccept(k), codes.at(word)) << "accept " << k << " " << word;
    seen.insert(KeywordCodeOfAccept(k));
  }
  EXPECT_EQ(seen.size(), KeywordCount);
  EXPECT_EQ(*seen.begin(), FirstKeywordCode);
  EXPECT_EQ(*seen.rbegin(), LastKeywordCode);
  EXPECT_EQ(KeywordCodeOfAccept(37), kwIn);
  EXPECT_EQ(KeywordCodeOfAccept(38), kwOn);
  EXPECT_EQ(KeywordCodeOfAccept(39), kwProgram);
  // The constants the analyser uses.
  EXPECT_EQ(codes.at("UNIT"), kwUnit);
  EXPECT_EQ(codes.at("USES"), kwUses);
  EXPECT_EQ(codes.at("INTERFACE"), kwInterface);
  EXPECT_EQ(codes.at("IMPLEMENTATION"), kwImplementation);
  EXPECT_EQ(codes.at("IN"), kwIn);
}

TEST(KeywordAutomaton, OneWorkingStatePerPrefixThatGoesOn) {
  const TPackedAutomaton& table = KeywordAutomaton();
  EXPECT_EQ(table.Base.size(), 230u);
  for (uint16_t d : table.Default) EXPECT_GE(d, 10000);
}

TEST(KeywordRecogniser, EveryWordInAnyCase) {
  for (const auto& [word, code] : Codes()) {
    for (const std::string& text : {word, Lower(word), Lower(word.substr(0, 1)) + word.substr(1)}) {
      TAnalyseur_K k(text.c_str());
      EXPECT_EQ(k.NextToken(), code) << text;
      EXPECT_EQ(k.Length, word.size()) << text;
      EXPECT_EQ(k.Text, text);
    }
  }
}

TEST(KeywordRecogniser, ShorterWordInsideALongerIdentifier) {
  const std::pair<const char*, int> cases[] = {{"STRINGS", kwString}, {"ASX", kwAs},  {"DOX", kwDo},
                                               {"INX", kwIn},         {"CONSTS", kwConst}, {"Unit\xE9", kwUnit},
                                               {"END_", kwEnd},       {"OR2", kwOr}};
  for (const auto& [text, code] : cases) {
    TAnalyseur_K k(text);
    EXPECT_EQ(k.NextToken(), code) << text;
    EXPECT_LT(k.Length, std::string(text).size()) << text;
  }
  TAnalyseur_K k("STRINGRESOURCE");
  EXPECT_EQ(k.NextToken(), kwStringResource);
  EXPECT_EQ(k.Length, 14u);
}

TEST(KeywordRecogniser, OtherTextsAndSetText) {
  TAnalyseur_K k("");
  EXPECT_EQ(k.NextToken(), tkEnd);
  EXPECT_EQ(k.Text, "");
  k.SetText("Qz");  // no word starts with Q
  EXPECT_EQ(k.NextToken(), tkError);
  EXPECT_EQ(k.Length, 0u);
  k.SetText("Forms");  // FOR, as far as the recogniser goes
  EXPECT_EQ(k.NextToken(), kwFor);
  EXPECT_EQ(k.Length, 3u);
  k.SetText("Integer");  // past IN on the way to INTERFACE: no word
  EXPECT_EQ(k.NextToken(), tkError);
  k.SetText("BEGI");
  const int code = k.NextToken();
  EXPECT_TRUE(code == tkError || code == tkEnd);
  k.SetText("xor");
  EXPECT_EQ(k.NextToken(), kwXor);
  k.SetText("on");
  EXPECT_EQ(k.NextToken(), kwOn);
}

namespace {

// What the automaton says of the whole word: its keyword code when it
// accepts all of it, tkError otherwise.
int AutomatonWholeWord(const std::string& word) {
  TAnalyseur_K k(word.c_str());
  const int code = k.NextToken();
  return code >= FirstKeywordCode && k.Length == word.size() ? code : tkError;
}

// The code of the word in the list, letters 'a'..'z' folded; tkError when
// it is not there.
int ListedCode(const std::string& word) {
  static const std::map<std::string, int> codes = Codes();
  std::string upper = word;
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  const auto it = codes.find(upper);
  return it == codes.end() ? tkError : it->second;
}

int TableWholeWord(const std::string& word) {
  const TAnalyseur_K k("");
  return k.WholeWordCode(word.data(), word.size());
}

}  // namespace

TEST(KeywordExactTable, EveryWordInAnyCase) {
  for (const auto& [word, code] : Codes()) {
    std::string mixed = word;
    for (std::size_t i = 0; i < mixed.size(); i += 2) mixed[i] = static_cast<char>(std::tolower(mixed[i]));
    for (const std::string& text : {word, Lower(word), mixed}) {
      EXPECT_EQ(TableWholeWord(text), code) << text;
      EXPECT_EQ(AutomatonWholeWord(text), code) << text;
    }
  }
}

TEST(KeywordExactTable, PrefixesAndExtensionsAsTheAutomaton) {
  const std::string extra = "ABEGINORSTXZaeinorsz_09\x80\xC0\xE9\xFF";
  for (const char* keyword : KeywordsByAccept) {
    const std::string word = keyword;
    for (std::size_t n = 1; n < word.size(); ++n) {
      for (const std::string& prefix : {word.substr(0, n), Lower(word.substr(0, n))}) {
        EXPECT_EQ(TableWholeWord(prefix), AutomatonWholeWord(prefix)) << prefix;
        EXPECT_EQ(TableWholeWord(prefix), ListedCode(prefix)) << prefix;  // STRING opens STRINGRESOURCE
      }
    }
    for (const char c : extra) {
      for (const std::string& longer : {word + c, std::string(1, c) + word, Lower(word) + c}) {
        EXPECT_EQ(TableWholeWord(longer), AutomatonWholeWord(longer)) << longer;
        EXPECT_EQ(TableWholeWord(longer), ListedCode(longer)) << longer;  // X + OR is XOR
      }
    }
  }
}

TEST(KeywordExactTable, EveryByteInEveryPlaceAsTheAutomaton) {
  // Catches a fold that lets a byte other than the letter's two cases match
  // (for instance '@', 0xC1 or 0xE1 for 'A').
  for (const char* keyword : KeywordsByAccept) {
    const std::string word = keyword;
    for (std::size_t i = 0; i < word.size(); ++i) {
      for (int b = 1; b < 256; ++b) {
        std::string changed = word;
        changed[i] = static_cast<char>(b);
        const int expected = AutomatonWholeWord(changed);
        ASSERT_EQ(TableWholeWord(changed), expected) << changed;
        ASSERT_EQ(expected, ListedCode(changed)) << changed;  // AND -> END is still a word
      }
    }
  }
}

TEST(KeywordExactTable, RandomIdentifiersAsTheAutomaton) {
  const std::string letters = "ABCDEFGHIJKLMNOPRSTUVWXYZaeinorstu_19\xE9";
  std::mt19937 random(2026);
  int keywords = 0;
  for (int i = 0; i < 200000; ++i) {
    std::string word(1 + random() % 16, ' ');
    if (i % 2) {
      for (char& c : word) c = letters[random() % letters.size()];
    } else {
      // A reserved word cut or grown at random: many near misses.
      word = KeywordsByAccept[random() % KeywordCount];
      word.resize(std::max<std::size_t>(1, word.size() + random() % 5 - 2), 'S');
      if (random() % 2) word = Lower(word);
    }
    const int expected = AutomatonWholeWord(word);
    keywords += expected != tkError;
    ASSERT_EQ(TableWholeWord(word), expected) << word;
    ASSERT_EQ(expected, ListedCode(word)) << word;
  }
  EXPECT_GT(keywords, 1000);  // the near misses do hit whole words too
}
