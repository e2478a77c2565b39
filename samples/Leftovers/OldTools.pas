unit OldTools;

{ Replaced by Tools; no unit of the project uses it any more. }

interface

procedure ShowVersion;

implementation

uses Dialogs;

procedure ShowVersion;
begin
  ShowMessage('Leftovers 1.0');
end;

end.
