program Demo;

uses
  Forms,
  Main in 'Main.pas' {FormMain},
  Sub in 'sub\Sub.pas';

{$R *.RES}

begin
  Application.Run;
end.
