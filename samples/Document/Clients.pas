unit Clients;

{ The customers, read from a text file: one customer per line. }

interface

uses Journal;

type
  TClient = record
    Nom: string[40];
    Ville: string[30];
    Remise: Integer;  { per cent }
  end;

var
  ListeClients: array[1..100] of TClient;
  NombreClients: Integer = 0;

function ChargerClients(const Nom: string): Boolean;
function RemiseDe(Index: Integer): Integer;

implementation

function ChargerClients(const Nom: string): Boolean;
var
  F: TextFile;
begin
  Result := False;
  AssignFile(F, Nom);
  {$I-} Reset(F); {$I+}
  if IOResult <> 0 then
  begin
    Noter('Pas de fichier ' + Nom);
    Exit;
  end;
  while not Eof(F) and (NombreClients < High(ListeClients)) do
  begin
    Inc(NombreClients);
    with ListeClients[NombreClients] do
      ReadLn(F, Nom, Ville, Remise);
  end;
  CloseFile(F);
  Noter('Clients lus');
  Result := True;
end;

function RemiseDe(Index: Integer): Integer;
begin
  Result := ListeClients[Index].Remise;
end;

end.
