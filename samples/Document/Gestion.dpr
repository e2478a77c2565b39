program Gestion;

{ Invoices and payments of a small shop: the project of the Word document sample. }

uses
  Clients, Factures, Réglages, Journal;

begin
  OuvrirJournal('gestion.log');
  if ChargerClients('clients.txt') then
    FacturerLeMois;
  FermerJournal;
end.
