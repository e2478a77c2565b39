program Basics;

uses
  Windows,
  Messages,
  SysUtils,
  Classes,
  Forms,
  Logger in 'Logger.pas';

{$R *.RES}

begin
  Application.Initialize;
  LogLine('Started');
  Application.Run;
end.
