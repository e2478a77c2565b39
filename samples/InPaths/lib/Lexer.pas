unit Lexer;

interface

uses Classes;

type
  TLexer = class
  private
    FText: string;
    FPos: Integer;
    FFailed: Boolean;
  public
    constructor Create(const AText: string);
    function Next: Boolean;
    property Failed: Boolean read FFailed;
  end;

implementation

constructor TLexer.Create(const AText: string);
begin
  inherited Create;
  FText := AText;
  FPos := 1;
end;

function TLexer.Next: Boolean;
begin
  Result := FPos <= Length(FText);
  if Result then Inc(FPos);
end;

end.
