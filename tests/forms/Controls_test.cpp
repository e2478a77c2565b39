#include <fstream>
#include <sstream>
#include <string>

#include "Clipbrd.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "FormsTestSupport.h"
#include "StdCtrls.h"

namespace {

TFormParams Params(int w = 400, int h = 200) {
  TFormParams p;
  p.Caption = "Controls";
  p.ClientWidth = w;
  p.ClientHeight = h;
  return p;
}

// A metafile of 100 x 50 pixels: white, its right half red.
HENHMETAFILE HalfRedMetafile() {
  HDC ref = GetDC(nullptr);
  const int wmm = GetDeviceCaps(ref, HORZSIZE), hmm = GetDeviceCaps(ref, VERTSIZE);
  const int wpx = GetDeviceCaps(ref, HORZRES), hpx = GetDeviceCaps(ref, VERTRES);
  RECT frame{0, 0, MulDiv(100, wmm * 100, wpx), MulDiv(50, hmm * 100, hpx)};
  HDC dc = CreateEnhMetaFileA(ref, nullptr, &frame, nullptr);
  ReleaseDC(nullptr, ref);
  RECT all{0, 0, 100, 50}, right{50, 0, 100, 50};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &right, red);
  DeleteObject(red);
  return CloseEnhMetaFile(dc);
}

}  // namespace

TEST_F(FormsTest, CheckBoxFromCodeFiresClickOncePerChange) {
  TForm form(Params());
  TCheckBox box;
  box.Create(form, {10, 10, 150, 20}, "Hide label and links");
  int clicks = 0;
  box.OnClick = [&] { ++clicks; };
  box.SetChecked(true);
  EXPECT_TRUE(box.Checked());
  EXPECT_EQ(clicks, 1);
  box.SetChecked(true);  // no change, no click
  EXPECT_EQ(clicks, 1);
  box.SetChecked(false);
  EXPECT_EQ(clicks, 2);
  // A click of the user toggles and fires once too.
  SendMessageA(box.Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(box.Checked());
  EXPECT_EQ(clicks, 3);
  // The handler sees the new state.
  bool seen = true;
  box.OnClick = [&] { seen = box.Checked(); };
  box.SetChecked(false);
  EXPECT_FALSE(seen);
}

TEST_F(FormsTest, LabelSizesItselfToItsTextAndFont) {
  TForm form(Params());
  TPanel banner;
  banner.Create(form, {0, 0, 400, 33});
  banner.SetFont(TFont{"Times New Roman", 16, clRed});
  TLabel l1;
  l1.Create(banner, 0, 4, "Usagram");
  const int w1 = l1.Width();
  EXPECT_GT(w1, 0);
  EXPECT_GE(l1.Height(), 16);
  EXPECT_EQ(l1.Font().Name, "Times New Roman");  // from its parent
  l1.SetText("Usagram documents Delphi projects");
  EXPECT_GT(l1.Width(), w1);
  // Painted in the font's colour.
  TTestBitmap bmp(l1.Width(), l1.Height());
  l1.PaintTo(bmp.dc());
  bool red = false;
  for (int x = 0; x < l1.Width() && !red; ++x)
    for (int y = 0; y < l1.Height() && !red; ++y) red = bmp.Pixel(x, y) == RGB(255, 0, 0);
  EXPECT_TRUE(red);
}

TEST_F(FormsTest, StatusBarPanelsHoldTheirTextsCentred) {
  TForm form(Params(632, 434));
  TStatusBar bar;
  bar.Create(form);
  bar.SetFont(TFont{"Courier New", 13});
  bar.SetPanels({{400, taCenter, "Ready"}, {400, taCenter, {}}});
  form.FinishCreate();
  EXPECT_EQ(bar.Top() + bar.Height(), form.ClientHeight());
  EXPECT_EQ(bar.Width(), 632);
  int edges[4] = {};
  EXPECT_EQ(SendMessageA(bar.Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 2);
  EXPECT_EQ(edges[0], 400);
  bar.SetPanelText(1, "SysUtils");
  EXPECT_EQ(bar.PanelText(0), "Ready");
  EXPECT_EQ(bar.PanelText(1), "SysUtils");
  char native[64] = {};
  SendMessageA(bar.Handle(), SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(native));
  EXPECT_EQ(std::string(native), "\tSysUtils");  // the tab centres it
  EXPECT_THROW(bar.SetPanelText(2, "x"), std::out_of_range);
}

// A run names units faster than the control can show them: the texts in
// between may be skipped, the latest of each panel never is.
TEST_F(FormsTest, StatusBarShowsTheLatestTextOfAQuickSuccession) {
  TForm form(Params(632, 434));
  TStatusBar bar;
  bar.Create(form);
  bar.SetPanels({{400, taLeftJustify, "Ready"}, {400, taLeftJustify, {}}});
  form.FinishCreate();
  auto shown = [&](int panel) {
    char native[64] = {};
    SendMessageA(bar.Handle(), SB_GETTEXTA, panel, reinterpret_cast<LPARAM>(native));
    return std::string(native);
  };
  for (int i = 0; i < 200; ++i) bar.SetPanelText(1, std::string("U").append(std::to_string(i)));
  bar.SetPanelText(0, "Sorting");
  EXPECT_EQ(bar.PanelText(1), "U199");
  const DWORD start = GetTickCount();
  while ((shown(1) != "U199" || shown(0) != "Sorting") && GetTickCount() - start < 2000) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(5);
  }
  EXPECT_EQ(shown(1), "U199");
  EXPECT_EQ(shown(0), "Sorting");
}

TEST_F(FormsTest, ImageStretchesTheMetafileOrShowsItAtTheGivenSize) {
  TForm form(Params(400, 200));
  TImage image;
  image.Create(form, {0, 0, 10, 10});
  image.SetAlign(alClient);
  image.SetStretch(true);
  HENHMETAFILE mf = HalfRedMetafile();
  image.SetMetafile(mf);
  DeleteEnhMetaFile(mf);  // the image keeps its own copy
  EXPECT_EQ(image.PictureWidth(), 100);
  EXPECT_EQ(image.PictureHeight(), 50);
  EXPECT_EQ(image.Width(), 400);
  {
    TTestBitmap bmp(400, 200);
    image.PaintTo(bmp.dc());
    EXPECT_EQ(bmp.Pixel(100, 100), RGB(255, 255, 255));
    EXPECT_EQ(bmp.Pixel(300, 100), RGB(255, 0, 0));
    EXPECT_EQ(bmp.Pixel(399, 199), RGB(255, 0, 0));
  }
  // Zoomed: not aligned any more, twice the size of the client.
  image.SetAlign(alNone);
  image.SetBounds(0, 0, 800, 400);
  {
    TTestBitmap bmp(800, 400);
    image.PaintTo(bmp.dc());
    EXPECT_EQ(bmp.Pixel(390, 200), RGB(255, 255, 255));
    EXPECT_EQ(bmp.Pixel(410, 200), RGB(255, 0, 0));
  }
  form.SetClientSize(300, 150);
  EXPECT_EQ(image.Width(), 800);  // no longer follows the form
  // Not stretched: at the picture's own size.
  image.SetStretch(false);
  {
    TTestBitmap bmp(800, 400);
    image.PaintTo(bmp.dc());
    EXPECT_EQ(bmp.Pixel(25, 25), RGB(255, 255, 255));
    EXPECT_EQ(bmp.Pixel(75, 25), RGB(255, 0, 0));
    EXPECT_EQ(bmp.Pixel(150, 25), GetSysColor(COLOR_BTNFACE));
  }
}

TEST_F(FormsTest, ImageMouseEventsGiveButtonShiftAndPosition) {
  TForm form(Params());
  TImage image;
  image.Create(form, {0, 0, 200, 100});
  std::vector<std::string> seen;
  image.OnMouseDown = [&](TMouseButton b, TShiftState s, int x, int y) {
    seen.push_back("down " + std::to_string(b) + " " + std::to_string(s) + " " + std::to_string(x) + "," +
                   std::to_string(y));
  };
  image.OnMouseMove = [&](TShiftState s, int x, int y) {
    seen.push_back("move " + std::to_string(s) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  SendMessageA(image.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(12, 34));
  SendMessageA(image.Handle(), WM_MOUSEMOVE, MK_SHIFT, MAKELPARAM(5, 6));
  SendMessageA(image.Handle(), WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(7, 8));
  SendMessageA(image.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(7, 8));
  const std::vector<std::string> expected = {
      "down 1 " + std::to_string(ssRight) + " 12,34", "move " + std::to_string(ssShift) + " 5,6",
      "down 0 " + std::to_string(ssLeft | ssCtrl) + " 7,8"};
  EXPECT_EQ(seen, expected);
}

TEST_F(FormsTest, ScrollBoxRangeAndPositionFollowTheZoomedImage) {
  TForm form(Params(400, 300));
  TScrollBox box;
  box.Create(form, {0, 0, 10, 10});
  box.SetAlign(alClient);
  TImage image;
  image.Create(box, {0, 0, 10, 10});
  image.SetAlign(alClient);
  form.FinishCreate();
  const int cw = box.ClientWidth();
  EXPECT_EQ(image.Width(), cw);
  EXPECT_EQ(box.HorzRange(), 0);  // an aligned image has no range
  // Zoom x 2 around a point.
  const int oldW = image.Width(), oldH = image.Height();
  image.SetAlign(alNone);
  image.SetBounds(0, 0, oldW * 2, oldH * 2);
  EXPECT_EQ(box.HorzRange(), oldW * 2);
  EXPECT_EQ(box.VertRange(), oldH * 2);
  const int clickX = 300;
  box.SetHorzPosition(MulDiv(clickX, box.HorzRange(), oldW) - box.Width() / 2);
  EXPECT_EQ(box.HorzPosition(), 600 - box.Width() / 2);
  EXPECT_EQ(image.Left(), -box.HorzPosition());
  EXPECT_EQ(GetScrollPos(box.Handle(), SB_HORZ), box.HorzPosition());
  // Positions stay within 0 .. range - client.
  box.SetHorzPosition(100000);
  EXPECT_EQ(box.HorzPosition(), box.HorzRange() - box.ClientWidth());
  box.SetVertPosition(-5);
  EXPECT_EQ(box.VertPosition(), 0);
  // Zoom / 2 back: the range shrinks and the position follows.
  image.SetBounds(image.Left(), image.Top(), oldW, oldH);
  EXPECT_EQ(box.HorzPosition(), 0);
  EXPECT_EQ(image.Left(), 0);
  // Window size: aligned again.
  image.SetAlign(alClient);
  EXPECT_EQ(image.Width(), box.ClientWidth());
  EXPECT_EQ(box.HorzRange(), 0);
}

TEST_F(FormsTest, TreeViewKeepsNodesImagesAndCollapses) {
  TForm form(Params());
  TImageList images;
  HDC screen = GetDC(nullptr);
  HBITMAP strip = CreateCompatibleBitmap(screen, 48, 16);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(images.Add(strip, clWhite), 0);
  DeleteObject(strip);
  EXPECT_EQ(images.Count(), 3);
  TTreeView tree;
  tree.Create(form, {0, 0, 300, 200});
  tree.SetImages(&images);
  tree.SetIndent(19);
  EXPECT_EQ(tree.Indent(), 19);
  TTreeNode unused = tree.AddChild(nullptr, "Unused locations", 2);
  TTreeNode used = tree.AddChild(nullptr, "Locations containing unused files", 2);
  TTreeNode loc = tree.AddChild(used, "C:\\DELPHI\\LIB", 2);
  tree.AddChild(loc, "SYSUTILS.PAS", 0);
  tree.AddChild(loc, "OLD.PAS", 1);
  EXPECT_EQ(tree.Count(), 5);
  EXPECT_EQ(tree.FirstChild(nullptr), unused);
  EXPECT_EQ(tree.NextSibling(unused), used);
  EXPECT_EQ(tree.FirstChild(unused), nullptr);
  TTreeNode second = tree.NextSibling(tree.FirstChild(loc));
  EXPECT_EQ(tree.NodeText(second), "OLD.PAS");
  EXPECT_EQ(tree.NodeImage(second), 1);
  tree.FullExpand();
  EXPECT_TRUE(tree.Expanded(loc));
  tree.FullCollapse();
  EXPECT_FALSE(tree.Expanded(used));
  EXPECT_FALSE(tree.Expanded(loc));
  tree.Clear();
  EXPECT_EQ(tree.Count(), 0);
}

TEST_F(FormsTest, RichEditLoadsAndSavesPlainTextAsItIs) {
  TForm form(Params());
  TRichEdit source;
  source.Create(form, {0, 0, 400, 200}, true);
  const std::string text = "unit Test;\r\n\r\ninterface\r\nuses SysUtils, \xC9t\xE9;\r\nend.\r\n";
  {
    std::ofstream f("forms_rich_in.pas", std::ios::binary);
    f << text;
  }
  source.LoadFromFile("forms_rich_in.pas");
  EXPECT_FALSE(source.Modified());
  EXPECT_EQ(source.SelStart(), 0);
  source.SaveToFile("forms_rich_out.pas");
  std::ifstream in("forms_rich_out.pas", std::ios::binary);
  std::stringstream back;
  back << in.rdbuf();
  EXPECT_EQ(back.str(), text);
  // Editing marks it modified; selection commands act on the text.
  source.SetSel(0, 4);
  EXPECT_EQ(source.SelText(), "unit");
  source.ClearSelection();
  EXPECT_EQ(source.Text().substr(0, 6), " Test;");
  SendMessageA(source.Handle(), WM_CHAR, 'x', 0);  // typing marks it modified
  EXPECT_TRUE(source.Modified());
  EXPECT_EQ(source.Text().substr(0, 6), "x Test");
  try {
    source.LoadFromFile("no such dir\\missing.pas");
    ADD_FAILURE() << "a missing file must raise";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("missing.pas"), std::string::npos);
  }
  EXPECT_EQ(source.Text().substr(0, 6), "x Test");  // the text is kept
  DeleteFileA("forms_rich_in.pas");
  DeleteFileA("forms_rich_out.pas");
}

TEST_F(FormsTest, RichEditReadsBackTheFormatsItWasGiven) {
  TForm form(Params());
  TRichEdit edit;
  edit.Create(form, {0, 0, 400, 200}, false, false, ssNone);
  TFont arial;
  arial.Name = "Arial";
  arial.Height = 13;
  edit.SetFont(arial);
  const auto first = edit.AppendParagraph("Title");
  const auto second = edit.AppendParagraph("Small print");
  EXPECT_EQ(edit.ParagraphAlignment(), taLeftJustify);
  edit.SelectAll();
  edit.SetParagraphAlignment(taCenter);
  edit.SetSel(first.first, first.second - first.first);
  edit.SetSelBold(true);
  edit.SetSel(second.first, second.second - second.first);
  edit.SetSelFont("Courier New", 7, true);

  edit.SetSel(second.first + 2, 3);
  const TRichEdit::TSelAttributes small = edit.SelAttributes();
  EXPECT_EQ(small.Name, "Courier New");
  EXPECT_EQ(small.PointSize, 7);
  EXPECT_TRUE(small.Bold);
  EXPECT_EQ(edit.SelStart(), second.first + 2);  // asking leaves the selection as it was
  EXPECT_EQ(edit.SelLength(), 3);
  EXPECT_EQ(edit.ParagraphAlignment(), taCenter);
  edit.SetSel(first.first, 0);
  const TRichEdit::TSelAttributes title = edit.SelAttributes();
  EXPECT_EQ(title.Name, "Arial");
  EXPECT_TRUE(title.Bold);
  EXPECT_EQ(edit.ParagraphAlignment(), taCenter);
}

TEST_F(FormsTest, ClipboardTextIsSeenInAnyOfItsFormats) {
  TForm form(Params());
  auto put = [&](UINT format, const void* data, size_t size) {
    ASSERT_TRUE(OpenClipboard(form.Handle()));
    EmptyClipboard();
    if (data) {
      HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
      memcpy(GlobalLock(block), data, size);
      GlobalUnlock(block);
      SetClipboardData(format, block);
    }
    CloseClipboard();
  };
  put(CF_TEXT, nullptr, 0);
  EXPECT_FALSE(ClipboardHasText());
  put(CF_TEXT, "uses", 5);
  EXPECT_TRUE(ClipboardHasText());
  const wchar_t wide[] = L"uses";
  put(CF_UNICODETEXT, wide, sizeof wide);
  EXPECT_TRUE(ClipboardHasText());
  const UINT own = RegisterClipboardFormatA("Usagram test format");
  put(own, "x", 1);
  EXPECT_FALSE(ClipboardHasText());
  put(CF_TEXT, nullptr, 0);
}

TEST_F(FormsTest, AGlyphButtonShowsItsBitmapAndOwnsIt) {
  TForm form(Params());
  TButton button;
  button.Create(form, {8, 8, 38, 25}, "");
  HBITMAP first = CreateBitmap(16, 16, 1, 1, nullptr);
  HBITMAP second = CreateBitmap(16, 16, 1, 1, nullptr);
  button.SetGlyph(first);
  EXPECT_TRUE(GetWindowLongA(button.Handle(), GWL_STYLE) & BS_BITMAP);
  EXPECT_EQ(reinterpret_cast<HBITMAP>(SendMessageA(button.Handle(), BM_GETIMAGE, IMAGE_BITMAP, 0)), first);
  button.SetGlyph(second);  // the first one is deleted
  EXPECT_EQ(GetObjectType(first), 0u);
  EXPECT_EQ(reinterpret_cast<HBITMAP>(SendMessageA(button.Handle(), BM_GETIMAGE, IMAGE_BITMAP, 0)), second);
  EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_BITMAP));
}

TEST_F(FormsTest, ListBoxEditAndComboReportTheirChanges) {
  TForm form(Params());
  TListBox list;
  list.Create(form, {0, 0, 150, 150});
  list.SetFont(TFont{"Courier New", 11});
  list.SetItemHeight(14);
  EXPECT_EQ(list.ItemHeight(), 14);
  int clicks = 0;
  list.OnClick = [&] { ++clicks; };
  list.Add("SysUtils");
  list.Add("Classes");
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.ItemIndex(), -1);
  list.SetItemIndex(1);  // from code: no click
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(list.Items(1), "Classes");
  SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list.Handle()), LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list.Handle()));
  EXPECT_EQ(clicks, 1);
  EXPECT_THROW(list.Items(5), std::out_of_range);

  TEdit title;
  title.Create(form, {160, 0, 100, 21}, "Basic units");
  std::vector<std::string> changes;
  title.OnChange = [&] { changes.push_back(title.Text()); };
  title.SetText("RTL");
  SendMessageA(title.Handle(), WM_CHAR, 'X', 0);
  EXPECT_EQ(changes, (std::vector<std::string>{"RTL", "XRTL"}));

  TComboBox combo;
  combo.Create(form, {160, 30, 100, 21});
  combo.Add("Word 95");
  combo.Add("Word 97");
  combo.SetItemIndex(1);
  EXPECT_EQ(combo.Text(), "Word 97");
  EXPECT_EQ(combo.Items(0), "Word 95");
}

TEST_F(FormsTest, MemoSplitsAndJoinsItsLines) {
  TForm form(Params());
  TMemo memo;
  memo.Create(form, {0, 0, 300, 60}, ssNone, false);
  EXPECT_TRUE(memo.Lines().empty());
  memo.SetLines({"This form is automatically displayed", "", "To disable"});
  EXPECT_EQ(memo.Text(), "This form is automatically displayed\r\n\r\nTo disable");
  memo.AddLine("last");
  EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"This form is automatically displayed", "", "To disable", "last"}));
}

TEST_F(FormsTest, ShapeFillsWithItsBrushAndClearShowsTheParent) {
  TForm form(Params());
  TShape shape;
  shape.Create(form, {10, 10, 40, 20});
  shape.SetPen(clBlack, 1);
  shape.SetBrush(clBlue);
  TTestBitmap bmp(40, 20);
  shape.PaintTo(bmp.dc());
  EXPECT_EQ(bmp.Pixel(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(bmp.Pixel(20, 10), RGB(0, 0, 255));
  shape.SetBrush(clBlue, true);
  shape.PaintTo(bmp.dc());
  EXPECT_EQ(bmp.Pixel(20, 10), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(bmp.Pixel(39, 19), RGB(0, 0, 0));
}

TEST_F(FormsTest, OverlappingSiblingsShowTheFirstCreatedInFront) {
  TForm form(Params());
  form.Show();
  TShape frame;
  TLabel text;
  text.Create(form, 20, 20, "Test.PAS");  // in front of the shape created after it
  frame.Create(form, {10, 10, 100, 40});
  frame.SetBrush(clBlue);
  POINT p{22, 22};
  EXPECT_EQ(ChildWindowFromPointEx(form.Handle(), p, CWP_SKIPINVISIBLE), text.Handle());
  EXPECT_EQ(GetWindow(form.Handle(), GW_CHILD), text.Handle());
  frame.BringToFront();
  EXPECT_EQ(GetWindow(form.Handle(), GW_CHILD), frame.Handle());
  frame.SendToBack();
  EXPECT_EQ(GetWindow(form.Handle(), GW_CHILD), text.Handle());
}
