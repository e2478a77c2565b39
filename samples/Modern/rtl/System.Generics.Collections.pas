unit System.Generics.Collections;

interface

implementation

end.
