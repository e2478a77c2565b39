unit Winapi.Windows;

interface

implementation

end.
