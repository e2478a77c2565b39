unit Colours;

interface

uses Shapes;

type TColour = Integer;

implementation

end.
