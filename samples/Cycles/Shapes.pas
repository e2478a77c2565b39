unit Shapes;

interface

uses Colours;

type TShape = record Colour: TColour; end;

implementation

end.
