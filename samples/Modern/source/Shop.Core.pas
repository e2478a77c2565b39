unit Shop.Core;

interface

uses
  System.SysUtils, System.Generics.Collections;

implementation

end.
