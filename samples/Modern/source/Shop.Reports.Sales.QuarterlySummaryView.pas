unit Shop.Reports.Sales.QuarterlySummaryView;

interface

uses
  Winapi.Windows, Vcl.Forms, Vcl.Controls, Shop.Reports.Sales;

implementation

uses
  System.SysUtils;

end.
