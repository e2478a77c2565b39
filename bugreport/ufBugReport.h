// The bug report window: the user types a report and sends it by mail to
// the support address through their own SMTP server, while a melody plays.
#pragma once

#include <functional>
#include <string>

#include "ComCtrls.h"
#include "Dialogs.h"
#include "Forms.h"
#include "SMTP.h"
#include "StdCtrls.h"

// An edit that shows its text as dots.
class TPasswordEdit : public TEdit {
 public:
  TPasswordEdit() { extraStyle_ |= ES_PASSWORD; }
};

// The report's memo: a text set from code is a change too (a multi-line
// edit does not say so itself).
class TReportMemo : public TMemo {
 public:
  void SetText(const std::string& text) override {
    TMemo::SetText(text);
    if (OnChange) OnChange();
  }
};

class TfBugReport : public TForm {
 public:
  TfBugReport();
  ~TfBugReport() override;

  // Components, in the order of the form.
  TLabel Label1;
  TReportMemo Memo;
  TLabel Label2;
  TButton Envoyer;
  TLabel Label3;
  TButton Annuler;
  TLabel Label4;
  TComboBox ServeurSMTP;
  TLabel Label5;
  TComboBox email;
  TCheckBox cbCouperLeSon;
  // The login, below the address: shown when the box is ticked or when the
  // server asks for one.
  TCheckBox cbConnexion;
  TLabel Label6;
  TEdit Utilisateur;
  TLabel Label7;
  TPasswordEdit MotDePasse;
  TCheckBox cbMemoriser;
  TStatusBar StatusBar;
  TTimer Exorciste{*this, 250, false};
  TSMTP SMTP;

  // The client verified the recipient and the report was handed over.
  bool Verified = false;
  // The client reported an error.
  bool Failed = false;

  // Handlers.
  void FormShow();
  void FormHide();
  void FormCloseQuery(bool& canClose);
  void cbCouperLeSonClick();
  void cbConnexionClick();
  void MemoChange();
  void AnnulerClick();
  void EnvoyerClick();
  void ExorcisteTimer();
  void SMTPVerify();
  void SMTPStateChanged(int16_t state);
  void SMTPDocInput(TDocInput& docInput);
  void pSMTPError(int16_t number, const std::string& description, int32_t scode, const std::string& source,
                  const std::string& helpFile, int32_t helpContext, bool& cancelDisplay);

  // True while Send is at work (the window then refuses to close).
  bool Sending() const { return sending_; }

 private:
  void CreateComponents();
  void SetStatus(const std::string& text);
  // Places the login fields (and what lies below them) as the box says.
  void ShowLogin(bool show);
  // Send is offered when there is a report to send and nothing under way.
  void UpdateSend();
  // The login to send with (empty user: none); false, after saying why,
  // when a field is missing.
  bool TakeLogin(std::string& user, std::string& password);
  void AskForLoginIfWanted();
  // Lets the messages (and so the client's events) in while busy() holds.
  void WaitWhile(const std::function<bool()>& busy);
  bool sending_ = false;
  bool sessionMade_ = false;  // Connected was reported since the last Disconnected
  std::string address_;  // the sender of the report being sent
  int lastError_ = 0;    // the number of the client's last error
};

// The window, once created.
extern TfBugReport* fBugReport;

// The main window's side: created once at its first show (false when that
// fails, and the menu items are then hidden); shown modally on demand.
bool CreateBugReportWindow();
void ShowBugReport();
// Destroys the window (and ends its mail session) before the library goes.
void FreeBugReportWindow();
