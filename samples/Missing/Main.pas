unit Main;

interface

uses
  Windows, Classes, Forms, Controls, Reports;

type
  TfMain = class(TForm)
    procedure FormCreate(Sender: TObject);
  end;

var
  fMain: TfMain;

implementation

uses Charts;

{$R *.DFM}

procedure TfMain.FormCreate(Sender: TObject);
begin
  PrintReport(Self);
  DrawChart(Canvas);
end;

end.
