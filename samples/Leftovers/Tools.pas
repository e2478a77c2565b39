unit Tools;

interface

procedure ShowVersion;

implementation

uses Dialogs;

procedure ShowVersion;
begin
  ShowMessage('Leftovers 2.0');
end;

end.
