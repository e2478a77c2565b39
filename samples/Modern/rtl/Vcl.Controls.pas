unit Vcl.Controls;

interface

implementation

end.
