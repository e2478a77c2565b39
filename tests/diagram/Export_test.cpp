#include "Export.h"

#include "Cycles.h"
#include "DiagramTestUtil.h"

using namespace diagtest;

namespace {

class Export_ : public DiagramTest {
 protected:
  void SetUp() override {
    DiagramTest::SetUp();
    MakeLocations({RGB(0, 128, 0), RGB(0, 0, 192)});
    NotFoundColour = RGB(208, 0, 0);
    BasicUnitsColour = RGB(128, 128, 128);
  }
  // Through Add, as the analysis fills the lists: the source order is kept.
  static void Names(TFile* unit, const std::vector<TFile*>& interfaceUses,
                    const std::vector<TFile*>& implementationUses = {}) {
    for (TFile* u : interfaceUses) unit->InterfaceUses->Add(u);
    for (TFile* u : implementationUses) unit->ImplementationUses->Add(u);
  }
  static bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
};

}  // namespace

TEST_F(Export_, DotColoursUnitsAsTheDiagramAndQuotesTheirNames) {
  TFile* basic = Add("SysUtils", LocationBasic);
  TFile* gone = Add("Gone", LocationNotFound);
  TFile* lib = Add("Lib", 0);
  TFile* odd = Add("Odd\"Name\\", 1);
  Names(odd, {lib, basic}, {gone});
  UBase->Name = "Runtime";
  const std::string dot = GraphAsDot(*FileArray, TestOptions);
  EXPECT_TRUE(Has(dot, "subgraph cluster_basic {\n    label=\"Runtime\"; color=\"#808080\";\n    \"SysUtils\"")) << dot;
  EXPECT_TRUE(Has(dot, "\"Gone\" [color=\"#d00000\", style=\"filled,dashed\"")) << dot;
  EXPECT_TRUE(Has(dot, "\"Lib\" [color=\"#008000\"]")) << dot;
  EXPECT_TRUE(Has(dot, "\"Odd\\\"Name\\\\\" -> \"Gone\" [color=\"#0000c0\", style=dashed]")) << dot;
  EXPECT_TRUE(Has(dot, "\"Odd\\\"Name\\\\\" -> \"Lib\" [color=\"#0000c0\"]")) << dot;
}

TEST_F(Export_, AHiddenUnitLosesWhatTheOptionsTakeFromIt) {
  TFile* b = Add("B", 1);
  TFile* h = Add("H", 1);
  TFile* a = Add("A", 1);
  Names(h, {b});
  Names(a, {h, b});
  h->Hidden = true;
  TestOptions = TSimplification{};  // all four: the unit goes with every edge
  EXPECT_EQ(GraphAsCsv(*FileArray, TestOptions), "from,to,clause\r\nA,B,interface\r\n");
  EXPECT_FALSE(Has(GraphAsGraphMl(*FileArray, TestOptions), ">H<"));
  TestOptions = TSimplification{false, true, false, true};  // only its own links go
  EXPECT_EQ(GraphAsCsv(*FileArray, TestOptions), "from,to,clause\r\nA,H,interface\r\nA,B,interface\r\n");
  TestOptions = TSimplification{true, false, false, true};  // only the links towards it
  EXPECT_EQ(GraphAsCsv(*FileArray, TestOptions), "from,to,clause\r\nH,B,interface\r\nA,B,interface\r\n");
  EXPECT_TRUE(Has(GraphAsDot(*FileArray, TestOptions), "\"H\" [color"));
}

TEST_F(Export_, AHiddenBoxTakesTheBasicUnits) {
  TFile* basic = Add("SysUtils", LocationBasic);
  TFile* a = Add("A", 1);
  Names(a, {basic});
  UBase->Hidden = true;
  const std::string dot = GraphAsDot(*FileArray, TestOptions);
  EXPECT_FALSE(Has(dot, "SysUtils")) << dot;
  EXPECT_FALSE(Has(dot, "cluster_basic")) << dot;
  // The JSON keeps everything and says what is hidden.
  const std::string json = GraphAsJson(*FileArray, FindCycles(*FileArray));
  EXPECT_TRUE(Has(json, "\"basicBox\": {\"title\": \"Basic units\", \"hidden\": true")) << json;
  EXPECT_TRUE(Has(json, "\"name\": \"SysUtils\", \"kind\": \"basic\", \"location\": -2")) << json;
}

TEST_F(Export_, TextIsUtf8AndQuotedForEachFormat) {
  TFile* accented = Add("R\xe9glages", 1);  // code page 1252
  TFile* amp = Add("A&<B>", 1);
  TFile* comma = Add("C,\"D\"", 1);
  Names(comma, {accented}, {amp});
  const std::string csv = GraphAsCsv(*FileArray, TestOptions);
  EXPECT_EQ(csv, "from,to,clause\r\n\"C,\"\"D\"\"\",R\xc3\xa9glages,interface\r\n\"C,\"\"D\"\"\",A&<B>,implementation\r\n");
  const std::string graphml = GraphAsGraphMl(*FileArray, TestOptions);
  EXPECT_TRUE(Has(graphml, "<data key=\"label\">A&amp;&lt;B&gt;</data>")) << graphml;
  EXPECT_TRUE(Has(graphml, "<data key=\"label\">R\xc3\xa9glages</data>")) << graphml;
  EXPECT_TRUE(Has(graphml, "source=\"n2\" target=\"n0\"")) << graphml;
  const std::string json = GraphAsJson(*FileArray, FindCycles(*FileArray));
  EXPECT_TRUE(Has(json, "\"name\": \"C,\\\"D\\\"\"")) << json;
}

TEST_F(Export_, JsonGivesTheListsInSourceOrderAndTheCycles) {
  TFile* zeta = Add("Zeta", 1);
  TFile* alpha = Add("Alpha", 1);
  TFile* p = Add("P", 1);
  Names(p, {}, {alpha, zeta});
  Names(zeta, {alpha});
  Names(alpha, {zeta});
  // The branch order rearranges the list; the source order stays.
  std::swap(p->ImplementationUses->Items[0], p->ImplementationUses->Items[1]);
  const std::string json = GraphAsJson(*FileArray, FindCycles(*FileArray));
  EXPECT_TRUE(Has(json, "\"implementation\": [\"Alpha\", \"Zeta\"]")) << json;
  EXPECT_TRUE(Has(json, "\"file\": null")) << json;
  EXPECT_TRUE(Has(json, "\"unitsInCycles\": 2")) << json;
  EXPECT_TRUE(Has(json, "\"errors\": [\n      {\"units\": [\"Zeta\", \"Alpha\"], \"cycle\": [{\"from\": \"Zeta\", \"to\": "
                        "\"Alpha\", \"clause\": \"interface\"}, {\"from\": \"Alpha\", \"to\": \"Zeta\", \"clause\": "
                        "\"interface\"}]}")) << json;
  EXPECT_TRUE(Has(json, "{\"index\": 1, \"path\": ")) << json;
  EXPECT_TRUE(Has(json, "\"colour\": \"#0000c0\", \"basic\": false, \"active\": true, \"explicit\": false, \"current\": true}"))
      << json;
}

TEST_F(Export_, EachFormatHasItsExtensionAndWritesToAFile) {
  EXPECT_STREQ(GraphFormatExtension(TGraphFormat::Dot), "dot");
  EXPECT_STREQ(GraphFormatExtension(TGraphFormat::GraphMl), "graphml");
  EXPECT_STREQ(GraphFormatExtension(TGraphFormat::Json), "json");
  EXPECT_STREQ(GraphFormatExtension(TGraphFormat::Csv), "csv");
  Add("A", 1);
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string name = std::string(temp) + "usagram-export-test.csv";
  ASSERT_TRUE(WriteTextFile(name, ExportGraph(TGraphFormat::Csv, *FileArray, TestOptions)));
  HANDLE f = CreateFileA(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetFileSize(f, nullptr), 16u);  // "from,to,clause\r\n"
  CloseHandle(f);
  DeleteFileA(name.c_str());
  EXPECT_FALSE(WriteTextFile(std::string(temp) + "no-such-dir\\x.csv", "x"));
}
