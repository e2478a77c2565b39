unit Alpha;

interface

uses Beta;

procedure RunAlpha;

implementation

procedure RunAlpha;
begin
  RunBeta(1);
end;

end.
