unit Unite;

// a unit with both clauses
interface

uses Windows, SysUtils, Strings;

type TX = (a, b);

implementation

uses {$IFDEF X} A, {$ELSE} B, {$ENDIF} C;

(* comment *)
const S = 'it''s';
begin x := 1 <> 2; y := [1..2]; end.
