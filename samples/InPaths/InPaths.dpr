program InPaths;

uses
  Forms,
  Main in 'Main.pas' {fMain},
  Parser in 'lib\Parser.pas',
  Lexer in 'lib\Lexer.pas';

{$R *.RES}

begin
  Application.Initialize;
  Application.CreateForm(TfMain, fMain);
  Application.Run;
end.
