unit Gamma;

interface

procedure RunGamma(Depth: Integer);

implementation

uses Alpha, Gamma;

procedure RunGamma(Depth: Integer);
begin
  if Depth > 5 then RunAlpha;
end;

end.
