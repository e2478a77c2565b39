unit Réglages;

{ Payments received: a unit whose name has an accented letter. }

interface

uses Factures, Journal;

procedure EnregistrerRèglement(Client: Integer; Montant: Currency);

implementation

procedure EnregistrerRèglement(Client: Integer; Montant: Currency);
begin
  Noter('Règlement reçu : ' + CurrToStr(Montant));
end;

end.
