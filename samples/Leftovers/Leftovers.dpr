program Leftovers;

{ Uses Tools only: OldTools stays in the directory from an earlier version. }

uses
  Forms,
  Tools in 'Tools.pas';

begin
  Application.Initialize;
  ShowVersion;
end.
