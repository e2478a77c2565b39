#include <map>

#include "FileCtrl.h"
#include "FormsTestSupport.h"
#include "Grids.h"

namespace {

TFormParams Params() {
  TFormParams p;
  p.Caption = "Grids";
  p.ClientWidth = 400;
  p.ClientHeight = 300;
  return p;
}

LPARAM CellCentre(const TDrawGrid& g, int col, int row) {
  RECT r = g.CellRect(col, row);
  return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// A scratch directory tree, removed at the end.
class TScratchDirs {
 public:
  TScratchDirs() {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    char full[MAX_PATH];
    GetFullPathNameA((std::string(tmp) + "usagram_forms_dirs").c_str(), MAX_PATH, full, nullptr);
    base = full;
    for (const char* d : {"", "\\Beta", "\\alpha", "\\Gamma", "\\Gamma\\Deep", "\\Hidden"})
      CreateDirectoryA((base + d).c_str(), nullptr);
    SetFileAttributesA((base + "\\Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    HANDLE f = CreateFileA((base + "\\UNIT1.PAS").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(f);
  }
  ~TScratchDirs() {
    DeleteFileA((base + "\\UNIT1.PAS").c_str());
    SetFileAttributesA((base + "\\Hidden").c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const char* d : {"\\Hidden", "\\Gamma\\Deep", "\\Gamma", "\\alpha", "\\Beta", ""})
      RemoveDirectoryA((base + d).c_str());
  }
  std::string base;
};

}  // namespace

TEST_F(FormsTest, GridCellsLieBetweenTheirLines) {
  TForm form(Params());
  TDrawGrid grid;
  grid.Create(form, {0, 0, 400, 300}, 4, 3);
  for (int c = 0; c < 4; ++c) grid.SetColWidth(c, 50 + c);
  grid.SetDefaultRowHeight(20);
  RECT r = grid.CellRect(2, 1);
  EXPECT_EQ(r.left, 50 + 1 + 51 + 1);
  EXPECT_EQ(r.right, r.left + 52);
  EXPECT_EQ(r.top, 21);
  EXPECT_EQ(r.bottom, 41);
  int col = -1, row = -1;
  ASSERT_TRUE(grid.MouseToCell(r.left + 1, r.top + 1, col, row));
  EXPECT_EQ(col, 2);
  EXPECT_EQ(row, 1);
  EXPECT_FALSE(grid.MouseToCell(390, 5, col, row));  // right of the last column
  EXPECT_FALSE(grid.MouseToCell(5, 200, col, row));  // below the last row
  RECT none = grid.CellRect(4, 0);
  EXPECT_TRUE(IsRectEmpty(&none));
}

TEST_F(FormsTest, GridSelectionNeverReachesTheHeader) {
  TForm form(Params());
  TDrawGrid grid;
  grid.Create(form, {0, 0, 400, 300}, 4, 3);
  EXPECT_EQ(grid.Row(), 1);
  SendMessageA(grid.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, CellCentre(grid, 3, 2));
  SendMessageA(grid.Handle(), WM_LBUTTONUP, 0, CellCentre(grid, 3, 2));
  EXPECT_EQ(grid.Col(), 3);
  EXPECT_EQ(grid.Row(), 2);
  SendMessageA(grid.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, CellCentre(grid, 0, 0));  // the header
  EXPECT_EQ(grid.Row(), 2);
  for (int i = 0; i < 5; ++i) SendMessageA(grid.Handle(), WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(grid.Row(), 1);
  SendMessageA(grid.Handle(), WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(grid.Row(), 2);
  // Fewer rows: the selection stays on one that exists.
  grid.SetRowCount(2);
  EXPECT_EQ(grid.Row(), 1);
}

TEST_F(FormsTest, GridKeysReachOnKeyDownFirst) {
  TForm form(Params());
  TDrawGrid grid;
  grid.Create(form, {0, 0, 400, 300}, 4, 5);
  std::vector<WORD> keys;
  grid.OnKeyDown = [&](WORD& key, TShiftState) {
    keys.push_back(key);
    if (key == VK_DOWN) key = 0;  // swallowed: the selection stays
  };
  SendMessageA(grid.Handle(), WM_KEYDOWN, VK_INSERT, 0);
  SendMessageA(grid.Handle(), WM_KEYDOWN, VK_DOWN, 0);
  SendMessageA(grid.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(keys, (std::vector<WORD>{VK_INSERT, VK_DOWN, VK_RIGHT}));
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.Col(), 1);
  // Enter belongs to the grid, not to the form's default button.
  EXPECT_TRUE(SendMessageA(grid.Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS);
}

TEST_F(FormsTest, GridDrawsEveryVisibleCellWithItsState) {
  TForm form(Params());
  TDrawGrid grid;
  grid.Create(form, {0, 0, 400, 300}, 4, 3);
  grid.SetCell(2, 2);
  std::map<std::pair<int, int>, TGridDrawState> drawn;
  grid.OnDrawCell = [&](HDC, int c, int r, const RECT&, TGridDrawState s) { drawn[{c, r}] = s; };
  TTestBitmap bmp(400, 300);
  grid.PaintTo(bmp.dc());
  EXPECT_EQ(drawn.size(), 12u);
  EXPECT_TRUE(drawn[std::make_pair(1, 0)] & gdFixed);
  EXPECT_TRUE(drawn[std::make_pair(2, 2)] & gdSelected);
  EXPECT_FALSE(drawn[std::make_pair(2, 1)] & (gdSelected | gdFixed));
}

TEST_F(FormsTest, GridScrollsToKeepTheSelectionVisible) {
  TForm form(Params());
  TDrawGrid grid;
  grid.Create(form, {0, 0, 400, 130}, 4, 101);
  const int visible = (grid.ClientHeight() - 25) / 25;
  ASSERT_GT(visible, 0);
  grid.SetCell(0, 100);
  EXPECT_EQ(grid.TopRow(), 100 - visible + 1);
  RECT gone = grid.CellRect(0, 1);
  EXPECT_TRUE(IsRectEmpty(&gone));
  RECT header = grid.CellRect(0, 0);
  EXPECT_FALSE(IsRectEmpty(&header));  // the header does not scroll
  SendMessageA(grid.Handle(), WM_KEYDOWN, VK_HOME, 0);
  EXPECT_EQ(grid.TopRow(), 1);
  EXPECT_EQ(grid.Row(), 1);
}

TEST_F(FormsTest, DirectoryListShowsTheLevelsThenTheSubdirectories) {
  TScratchDirs dirs;
  TForm form(Params());
  TDirectoryListBox list;
  list.Create(form, {0, 0, 300, 250});
  int changes = 0;
  list.OnChange = [&] { ++changes; };
  list.SetDirectory(dirs.base);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(list.Directory(), dirs.base);
  EXPECT_EQ(list.Drive(), static_cast<char>(toupper(dirs.base[0])));
  const int opened = list.ItemIndex();
  EXPECT_EQ(list.GetItemPath(opened), dirs.base);
  EXPECT_EQ(list.GetItemPath(0), dirs.base.substr(0, 3));  // the root keeps its backslash
  // Subdirectories in name order, without hidden ones or files.
  ASSERT_EQ(list.Count(), opened + 4);
  EXPECT_EQ(list.GetItemPath(opened + 1), dirs.base + "\\alpha");
  EXPECT_EQ(list.GetItemPath(opened + 2), dirs.base + "\\Beta");
  EXPECT_EQ(list.GetItemPath(opened + 3), dirs.base + "\\Gamma");
  // Each level above is a line of its own.
  const std::string parent = dirs.base.substr(0, dirs.base.rfind('\\'));
  EXPECT_EQ(list.GetItemPath(opened - 1), parent.size() == 2 ? parent + "\\" : parent);
  EXPECT_THROW(list.GetItemPath(list.Count()), std::out_of_range);
}

TEST_F(FormsTest, DirectoryListOpensOnlyRealChanges) {
  TScratchDirs dirs;
  TForm form(Params());
  TDirectoryListBox list;
  list.Create(form, {0, 0, 300, 250});
  list.SetDirectory(dirs.base);
  int changes = 0;
  list.OnChange = [&] { ++changes; };
  list.SetDirectory("");
  list.SetDirectory(dirs.base + "\\");
  std::string upper = dirs.base;
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  list.SetDirectory(upper);
  EXPECT_EQ(changes, 0);
  EXPECT_THROW(list.SetDirectory(dirs.base + "\\NoSuchDir"), std::runtime_error);
  EXPECT_THROW(list.SetDirectory(dirs.base + "\\UNIT1.PAS"), std::runtime_error);
  EXPECT_EQ(list.Directory(), dirs.base);
  EXPECT_EQ(changes, 0);
}

TEST_F(FormsTest, DirectoryListOpensTheHighlightedLine) {
  TScratchDirs dirs;
  TForm form(Params());
  TDirectoryListBox list;
  list.Create(form, {0, 0, 300, 400});
  list.SetDirectory(dirs.base);
  const int opened = list.ItemIndex();
  // Highlighting moves nothing; OK would take the highlighted path.
  list.SetItemIndex(opened + 3);
  EXPECT_EQ(list.Directory(), dirs.base);
  // Enter opens it.
  SendMessageA(list.Handle(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(list.Directory(), dirs.base + "\\Gamma");
  EXPECT_EQ(list.GetItemPath(list.Count() - 1), dirs.base + "\\Gamma\\Deep");
  // A double click on the first line opens the root.
  int dbl = 0;
  list.OnDblClick = [&] { ++dbl; };
  SendMessageA(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 8));
  SendMessageA(list.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 8));
  SendMessageA(list.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 8));
  EXPECT_EQ(dbl, 1);
  EXPECT_EQ(list.Directory(), dirs.base.substr(0, 3));
  EXPECT_EQ(list.ItemIndex(), 0);
}
