unit Journal;

{ The log of every operation, one line per event. }

interface

procedure OuvrirJournal(const Nom: string);
procedure Noter(const Texte: string);
procedure FermerJournal;

implementation

var
  Fichier: TextFile;
  Ouvert: Boolean = False;

procedure OuvrirJournal(const Nom: string);
begin
  AssignFile(Fichier, Nom);
  Rewrite(Fichier);
  Ouvert := True;
end;

procedure Noter(const Texte: string);
begin
  if Ouvert then
    WriteLn(Fichier, Texte);
end;

procedure FermerJournal;
begin
  if Ouvert then
    CloseFile(Fichier);
  Ouvert := False;
end;

end.
