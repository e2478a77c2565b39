unit Main;

interface

uses
  Windows, SysUtils, Classes, Forms, Controls, StdCtrls, Helpers;

type
  TfMain = class(TForm)
    Source: TMemo;
    Check: TButton;
    procedure CheckClick(Sender: TObject);
  end;

var
  fMain: TfMain;

implementation

uses Parser;

{$R *.DFM}

procedure TfMain.CheckClick(Sender: TObject);
begin
  if ParseText(Source.Text) then
    Caption := Trimmed('OK')
  else
    Caption := Trimmed('Syntax error');
end;

end.
