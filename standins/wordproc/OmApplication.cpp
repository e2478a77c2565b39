// "Word.Application": the application, its documents, and the active
// window with its view and panes.
#include "App.h"
#include "Commands.h"
#include "ObjectModel.h"

namespace {

constexpr int MaxViewType = 6;  // wdOnlineView

TDocumentRef ActiveDoc() { return TWordApp::Instance().ActiveShared(); }

// The view of the active window (there is one pane: it shares the view).
class TViewObj : public TAutoClass<TViewObj> {
 public:
  explicit TViewObj(std::string path) : TAutoClass(std::move(path)) {}

  static std::span<const TMember<TViewObj>> Table() {
    static const TMember<TViewObj> table[] = {
        {{L"Type", mkGet | mkPut, L""},
         [](TViewObj&, TCall& c) {
           TDocument& d = *ActiveDoc();
           if (!c.IsPut()) {
             c.Return(d.ViewType);
             return;
           }
           const long type = c.Int(TCall::PutValue);
           Check(type >= View::Normal && type <= MaxViewType);
           // Only the page view shows headers and footers.
           if (type != View::Page) CloseFooter(d);
           d.ViewType = static_cast<int>(type);
         }},
        {{L"SplitSpecial", mkGet, L""}, [](TViewObj&, TCall& c) { c.Return(0); }},  // wdPaneNone: never split
        {{L"SeekView", mkGet | mkPut, L""},
         [](TViewObj&, TCall& c) {
           TDocument& d = *ActiveDoc();
           if (!c.IsPut()) {
             c.Return(InFooter(d) ? View::SeekCurrentPageFooter : View::SeekMain);
             return;
           }
           const long seek = c.Int(TCall::PutValue);
           if (d.ViewType != View::Page)
             throw TAutoError(WordError::NotAvailable,
                              "This method or property is not available because the document is not in page layout view.");
           if (seek == View::SeekMain)
             CloseFooter(d);
           else if (seek == View::SeekCurrentPageFooter || seek == View::SeekPrimaryFooter)
             OpenFooter(d);
           else
             throw TAutoError(WordError::CommandFailed, "wordproc has a main text and one footer only.");
         }},
    };
    return table;
  }
};

class TPaneObj : public TAutoClass<TPaneObj> {
 public:
  explicit TPaneObj(std::string path) : TAutoClass(std::move(path)) {}

  static std::span<const TMember<TPaneObj>> Table() {
    static const TMember<TPaneObj> table[] = {
        {{L"View", mkGet, L""}, [](TPaneObj& p, TCall& c) { c.ReturnObject(MakeObject<TViewObj>(p.Path() + ".View").Get()); }},
        {{L"Close", mkMethod, L""},
         [](TPaneObj&, TCall&) {
           throw TAutoError(WordError::CommandFailed, "The window has one pane, which cannot be closed.");
         }},
    };
    return table;
  }
};

class TPanesObj : public TAutoClass<TPanesObj> {
 public:
  explicit TPanesObj(std::string path) : TAutoClass(std::move(path)) {}

  static std::span<const TMember<TPanesObj>> Table() {
    static const TMember<TPanesObj> table[] = {
        {{L"Item", mkMethod | mkGet | mkDefault, L"Index"},
         [](TPanesObj& p, TCall& c) {
           if (c.Int(0) != 1)
             throw TAutoError(WordError::NoSuchMember, "The requested member of the collection does not exist.");
           c.ReturnObject(MakeObject<TPaneObj>(p.Path() + ".Item(1)").Get());
         }},
        {{L"Count", mkGet, L""}, [](TPanesObj&, TCall& c) { c.Return(1); }},
    };
    return table;
  }
};

class TWindowObj : public TAutoClass<TWindowObj> {
 public:
  TWindowObj() : TAutoClass("Application.ActiveWindow") {}

  static std::span<const TMember<TWindowObj>> Table() {
    static const TMember<TWindowObj> table[] = {
        {{L"View", mkGet, L""}, [](TWindowObj& w, TCall& c) { c.ReturnObject(MakeObject<TViewObj>(w.Path() + ".View").Get()); }},
        {{L"Panes", mkGet, L""},
         [](TWindowObj& w, TCall& c) { c.ReturnObject(MakeObject<TPanesObj>(w.Path() + ".Panes").Get()); }},
        {{L"ActivePane", mkGet, L""},
         [](TWindowObj& w, TCall& c) { c.ReturnObject(MakeObject<TPaneObj>(w.Path() + ".ActivePane").Get()); }},
    };
    return table;
  }
};

class TDocumentsObj : public TAutoClass<TDocumentsObj> {
 public:
  TDocumentsObj() : TAutoClass("Application.Documents") {}

  static std::span<const TMember<TDocumentsObj>> Table() {
    static const TMember<TDocumentsObj> table[] = {
        {{L"Add", mkMethod, L"Template,NewTemplate"},
         [](TDocumentsObj&, TCall& c) {
           if (!c.Text(0, "").empty())
             throw TAutoError(WordError::CommandFailed, "wordproc has no templates: documents start empty.");
           c.ReturnObject(NewDocumentObject(TWordApp::Instance().NewDocument()).Get());
         }},
        {{L"Count", mkGet, L""},
         [](TDocumentsObj&, TCall& c) { c.Return(static_cast<long>(TWordApp::Instance().Documents().size())); }},
        {{L"Item", mkMethod | mkGet | mkDefault, L"Index"},
         [](TDocumentsObj&, TCall& c) {
           const auto& docs = TWordApp::Instance().Documents();
           const VARIANT* raw = c.Raw(0);
           if (raw && (raw->vt & VT_TYPEMASK) == VT_BSTR) {
             const std::string name = c.Text(0);
             for (const auto& doc : docs)
               if (doc->Name == name) return c.ReturnObject(NewDocumentObject(doc).Get());
           } else {
             const long index = c.Int(0);
             if (index >= 1 && index <= static_cast<long>(docs.size()))
               return c.ReturnObject(NewDocumentObject(docs[static_cast<size_t>(index - 1)]).Get());
           }
           throw TAutoError(WordError::NoSuchMember, "The requested member of the collection does not exist.");
         }},
    };
    return table;
  }
};

class TApplicationObj;
TApplicationObj* LiveApplication = nullptr;
DWORD ApplicationCookie = 0;

class TApplicationObj : public TAutoClass<TApplicationObj> {
 public:
  TApplicationObj() : TAutoClass("Application") {}
  ~TApplicationObj() override {
    if (LiveApplication != this) return;
    LiveApplication = nullptr;
    RevokeRunning(ApplicationCookie);
  }

  static std::span<const TMember<TApplicationObj>> Table() {
    static const TMember<TApplicationObj> table[] = {
        {{L"Visible", mkGet | mkPut, L""},
         [](TApplicationObj&, TCall& c) {
           if (c.IsPut())
             TWordApp::Instance().SetVisible(TriState(c.Int(TCall::PutValue)));
           else
             c.ReturnBool(TWordApp::Instance().Visible());
         }},
        {{L"Name", mkGet | mkDefault, L""}, [](TApplicationObj&, TCall& c) { c.ReturnText("Microsoft Word"); }},
        {{L"Documents", mkGet, L""},
         [](TApplicationObj&, TCall& c) { c.ReturnObject(MakeObject<TDocumentsObj>().Get()); }},
        {{L"ActiveDocument", mkGet, L""},
         [](TApplicationObj&, TCall& c) { c.ReturnObject(NewDocumentObject(ActiveDoc()).Get()); }},
        {{L"Selection", mkGet, L""},
         [](TApplicationObj&, TCall& c) {
           ActiveDoc();
           c.ReturnObject(NewSelection().Get());
         }},
        {{L"ActiveWindow", mkGet, L""},
         [](TApplicationObj&, TCall& c) {
           ActiveDoc();
           c.ReturnObject(MakeObject<TWindowObj>().Get());
         }},
    };
    return table;
  }
};

}  // namespace

TComPtr<TAutoObject> SharedApplication() {
  if (LiveApplication) return TComPtr<TAutoObject>::Share(LiveApplication);
  TComPtr<TAutoObject> application = MakeAuto<TApplicationObj>();
  LiveApplication = static_cast<TApplicationObj*>(application.Get());
  ApplicationCookie = RegisterRunning(application.Get(), CLSID_WordApplication);
  return application;
}
