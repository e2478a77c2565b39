program Plain;

uses
  Forms,
  Main in 'Main.pas' {fMain},
  About in 'About.pas' {fAbout};

{$R *.RES}

begin
  Application.Initialize;
  Application.Title := 'Plain';
  Application.CreateForm(TfMain, fMain);
  Application.CreateForm(TfAbout, fAbout);
  Application.Run;
end.
