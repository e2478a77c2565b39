unit System.Classes;

interface

implementation

end.
