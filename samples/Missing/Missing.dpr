program Missing;

uses
  Forms,
  Main in 'Main.pas' {fMain},
  Reports,
  Charts in 'charts\Charts.pas';

{$R *.RES}

begin
  Application.Initialize;
  Application.CreateForm(TfMain, fMain);
  Application.Run;
end.
