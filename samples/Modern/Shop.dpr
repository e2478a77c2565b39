program Shop;

{ A Delphi 12-style program: dotted unit names, some written in full,
  some left to the unit scope names System, Vcl and Winapi. }

uses
  Vcl.Forms,
  SysUtils,
  Shop.Core in 'source\Shop.Core.pas',
  Shop.Reports.Sales in 'source\Shop.Reports.Sales.pas',
  Shop.Reports.Sales.QuarterlySummaryView in 'source\Shop.Reports.Sales.QuarterlySummaryView.pas' {SummaryView},
  Shop.Views.Main in 'Shop.Views.Main.pas' {MainView};

{$R *.res}

begin
  Application.Initialize;
  Application.Run;
end.
