unit Main;

interface

uses
  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms, Dialogs,
  StdCtrls, Menus;

type
  TfMain = class(TForm)
    MainMenu1: TMainMenu;
    File1: TMenuItem;
    Exit1: TMenuItem;
    Help1: TMenuItem;
    About1: TMenuItem;
    Memo1: TMemo;
    procedure Exit1Click(Sender: TObject);
    procedure About1Click(Sender: TObject);
    procedure FormCreate(Sender: TObject);
  private
    { Private declarations }
  public
    { Public declarations }
  end;

var
  fMain: TfMain;

implementation

uses About, Utils;

{$R *.DFM}

procedure TfMain.Exit1Click(Sender: TObject);
begin
  Close;
end;

procedure TfMain.About1Click(Sender: TObject);
begin
  fAbout.ShowModal;
end;

procedure TfMain.FormCreate(Sender: TObject);
begin
  Memo1.Lines.Add(FormatTitle('Plain', 1));
end;

end.
