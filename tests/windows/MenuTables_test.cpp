// The menus of the main window and of the editor are tables: each row must
// make a reachable item, with its handler, and no two share a shortcut
// (the main menu and the popup share one accelerator table).
#include <algorithm>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "WindowsTestSupport.h"
#include "ufEditeur.h"

namespace {

// What is wrong with the rows of one form's menus, one line per fault.
template <class Form>
std::vector<std::string> TableFaults(std::initializer_list<std::span<const TMenuDef<Form>>> tables) {
  std::vector<std::string> faults;
  std::set<std::string> names;
  std::set<TShortCut> shortcuts;
  std::vector<TMenuItem* Form::*> members;  // member pointers have no order, only equality
  for (std::span<const TMenuDef<Form>> table : tables) {
    if (!table.empty() && table.front().Level != mlTop) faults.push_back(std::string(table.front().Name) + ": no parent");
    for (size_t i = 0; i < table.size(); ++i) {
      const TMenuDef<Form>& row = table[i];
      const std::string name = row.Name;
      if (std::string(row.Caption) == "-") {
        if (!name.empty() || row.OnClick || row.Item || row.ShortCut) faults.push_back("separator " + name + ": not bare");
        continue;
      }
      if (name.empty() || !*row.Caption) faults.push_back(name + ": no name or caption");
      if (!names.insert(name).second) faults.push_back(name + ": name twice");
      if (!row.Item || std::find(members.begin(), members.end(), row.Item) != members.end())
        faults.push_back(name + ": no member of its own");
      else
        members.push_back(row.Item);
      if (row.ShortCut && !shortcuts.insert(row.ShortCut).second)
        faults.push_back(name + ": shortcut " + ShortCutToText(row.ShortCut) + " twice");
      const bool hasChildren = row.Level == mlTop && i + 1 < table.size() && table[i + 1].Level == mlSub;
      if (!hasChildren && !row.OnClick) faults.push_back(name + ": no handler");
    }
  }
  return faults;
}

int ItemCount(const TMenuItem& item) {
  int count = item.Count();
  for (int i = 0; i < item.Count(); ++i) count += ItemCount(*item.Items(i));
  return count;
}

// The built menu holds exactly the table's items, each where its member
// points, with its caption and shortcut.
template <class Form>
void ExpectBuiltAsWritten(Form& form, TMenu& menu, std::span<const TMenuDef<Form>> table) {
  EXPECT_EQ(ItemCount(menu.Items()), static_cast<int>(table.size()));
  TMenuItem* top = nullptr;
  for (const TMenuDef<Form>& row : table) {
    if (!row.Item) continue;
    TMenuItem* item = form.*row.Item;
    ASSERT_NE(item, nullptr) << row.Name;
    EXPECT_EQ(menu.Find(row.Name), item) << row.Name;
    EXPECT_EQ(item->Caption(), row.Caption) << row.Name;
    EXPECT_EQ(item->ShortCut(), row.ShortCut) << row.Name;
    EXPECT_EQ(item->Parent(), row.Level == mlTop ? &menu.Items() : top) << row.Name;
    if (row.Level == mlTop) top = item;
  }
}

}  // namespace

TEST(MenuTables, TheMainWindowsShortcutsAreUniqueAndEveryItemHasItsHandler) {
  EXPECT_EQ(TableFaults<TfUsagram>({TfUsagram::MainMenuTable(), TfUsagram::PopupMenuTable()}),
            std::vector<std::string>{});
  // The system's 36 items and "Unit scope names" at the end of Options.
  EXPECT_EQ(TfUsagram::MainMenuTable().size() + TfUsagram::PopupMenuTable().size(), 37u);
}

TEST(MenuTables, TheEditorsShortcutsAreUniqueAndEveryItemHasItsHandler) {
  EXPECT_EQ(TableFaults<TfEditeur>({TfEditeur::MenuTable()}), std::vector<std::string>{});
}

TEST(MenuTables, TheChecksFindAFaultyTable) {
  using F = TfUsagram;
  constexpr TMenuDef<F> faulty[] = {
      {mlSub, "Ouvrir1", "&Open", Ctrl('O'), &F::Ouvrir1Click, &F::Ouvrir1},
      {mlTop, "Sauver1", "&Save", Ctrl('O'), nullptr, &F::Sauver1},
      {mlTop, "Sauver1", "&Save", 0, &F::Sauver1Click, &F::Ouvrir1},
  };
  EXPECT_EQ(TableFaults<F>({faulty}),
            (std::vector<std::string>{"Ouvrir1: no parent", "Sauver1: shortcut Ctrl+O twice", "Sauver1: no handler",
                                      "Sauver1: name twice", "Sauver1: no member of its own"}));
}

class MenuTablesBuilt : public ToolWindowsTest {};

TEST_F(MenuTablesBuilt, TheMainWindowsMenusAreTheirTables) {
  ExpectBuiltAsWritten(*fUsagram, fUsagram->MainMenu1, TfUsagram::MainMenuTable());
  ExpectBuiltAsWritten(*fUsagram, fUsagram->PopupMenu, TfUsagram::PopupMenuTable());
}

TEST_F(MenuTablesBuilt, TheEditorsMenuIsItsTable) {
  auto editor = std::make_unique<TfEditeur>();
  ExpectBuiltAsWritten(*editor, editor->MainMenu1, TfEditeur::MenuTable());
  EXPECT_TRUE(editor->Edition1->Items(4)->IsSeparator());
}
