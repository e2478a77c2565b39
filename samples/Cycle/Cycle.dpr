program Cycle;

uses
  Alpha in 'Alpha.pas';

{$R *.RES}

begin
  RunAlpha;
end.
