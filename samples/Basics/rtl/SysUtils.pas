unit SysUtils;

interface

uses Windows;

function Trim(const S: string): string;

implementation

function Trim(const S: string): string;
begin
  Result := S;
end;

end.
