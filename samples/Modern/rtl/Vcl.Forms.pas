unit Vcl.Forms;

interface

implementation

end.
