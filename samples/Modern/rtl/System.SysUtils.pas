unit System.SysUtils;

interface

implementation

end.
