unit Logger;

interface

uses SysUtils, Classes;

procedure LogLine(const Text: string);

implementation

uses Windows, Controls;

procedure LogLine(const Text: string);
begin
  OutputDebugString(PChar(FormatDateTime('hh:nn:ss ', Now) + Text));
end;

end.
