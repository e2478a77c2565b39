unit Factures;

{ One invoice per customer and month, with its discount. }

interface

uses Clients, Journal;

procedure FacturerLeMois;
function MontantNet(Brut: Currency; Remise: Integer): Currency;

implementation

function MontantNet(Brut: Currency; Remise: Integer): Currency;
begin
  Result := Brut - Brut * Remise / 100;
end;

procedure FacturerMois1;
var
  I: Integer;
begin
  for I := 1 to NombreClients do
    Noter('Mois 1 : ' + ListeClients[I].Nom + ' ' + CurrToStr(MontantNet(100, RemiseDe(I))));
end;

procedure FacturerMois2;
var
  I: Integer;
begin
  for I := 1 to NombreClients do
    Noter('Mois 2 : ' + ListeClients[I].Nom + ' ' + CurrToStr(MontantNet(100, RemiseDe(I))));
end;

procedure FacturerMois3;
var
  I: Integer;
begin
  for I := 1 to NombreClients do
    Noter('Mois 3 : ' + ListeClients[I].Nom + ' ' + CurrToStr(MontantNet(100, RemiseDe(I))));
end;

procedure FacturerMois4;
var
  I: Integer;
begin
  for I := 1 to NombreClients do
    Noter('Mois 4 : ' + ListeClients[I].Nom + ' ' + CurrToStr(MontantNet(100, RemiseDe(I))));
end;

procedure FacturerMois5;
var
  I: Integer;
begin
  for I := 1 to NombreClients do
    Noter('Mois 5 : ' + ListeClients[I].Nom + ' ' + CurrToStr(MontantNet(100, RemiseDe(I))));
end;

procedure FacturerMois6;
var
  I: Integer;
begin
  for I := 1 to NombreClients do
    Noter('Mois 6 : ' + ListeClients[I].Nom + ' ' + CurrToStr(MontantNet(100, RemiseDe(I))));
end;

procedure FacturerMois7;
var
  I: Integer;
begin
  for I := 1 to NombreClients do
    Noter('Mois 7 : ' + ListeClients[I].Nom + ' ' + CurrToStr(MontantNet(100, RemiseDe(I))));
end;

procedure FacturerMois8;
var
  I: Integer;
begin
  for I := 1 to NombreClients do
    Noter('Mois 8 : ' + ListeClients[I].Nom + ' ' + CurrToStr(MontantNet(100, RemiseDe(I))));
end;

procedure FacturerMois9;
var
  I: Integer;
begin
  for I := 1 to NombreClients do
    Noter('Mois 9 : ' + ListeClients[I].Nom + ' ' + CurrToStr(MontantNet(100, RemiseDe(I))));
end;

procedure FacturerMois10;
var
  I: Integer;
begin
  for I := 1 to NombreClients do
    Noter('Mois 10 : ' + ListeClients[I].Nom + ' ' + CurrToStr(MontantNet(100, RemiseDe(I))));
end;

procedure FacturerMois11;
var
  I: Integer;
begin
  for I := 1 to NombreClients do
    Noter('Mois 11 : ' + ListeClients[I].Nom + ' ' + CurrToStr(MontantNet(100, RemiseDe(I))));
end;

procedure FacturerMois12;
var
  I: Integer;
begin
  for I := 1 to NombreClients do
    Noter('Mois 12 : ' + ListeClients[I].Nom + ' ' + CurrToStr(MontantNet(100, RemiseDe(I))));
end;

procedure FacturerLeMois;
begin
  FacturerMois1;
end;

end.
