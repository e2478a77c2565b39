unit Parser;

interface

function ParseText(const Text: string): Boolean;

implementation

uses Lexer, Helpers;

function ParseText(const Text: string): Boolean;
var
  L: TLexer;
begin
  L := TLexer.Create(Trimmed(Text));
  try
    while L.Next do ;
    Result := not L.Failed;
  finally
    L.Free;
  end;
end;

end.
