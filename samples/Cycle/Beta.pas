unit Beta;

interface

procedure RunBeta(Depth: Integer);

implementation

uses Alpha, Gamma;

procedure RunBeta(Depth: Integer);
begin
  if Depth < 3 then RunGamma(Depth + 1);
end;

end.
