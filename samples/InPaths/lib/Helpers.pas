unit Helpers;

interface

function Trimmed(const S: string): string;

implementation

uses SysUtils;

function Trimmed(const S: string): string;
begin
  Result := Trim(S);
end;

end.
