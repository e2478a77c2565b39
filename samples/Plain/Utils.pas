unit Utils;

{ Small helpers shared by the forms. }

interface

function FormatTitle(const Title: string; Number: Integer): string;

implementation

uses SysUtils;

function FormatTitle(const Title: string; Number: Integer): string;
begin
  Result := Format('%s %d', [Title, Number]);
end;

end.
