unit Shop.Reports.Sales;

interface

uses
  System.Classes, Shop.Core;

implementation

uses
  Data.DB;

end.
