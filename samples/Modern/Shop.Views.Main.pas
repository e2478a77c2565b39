unit Shop.Views.Main;

interface

uses
  Windows, Classes, Forms, Controls, Shop.Core;

implementation

uses
  Shop.Reports.Sales.QuarterlySummaryView, Generics.Collections;

end.
