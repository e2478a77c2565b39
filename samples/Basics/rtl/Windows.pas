unit Windows;

{ A stand-in for the runtime's unit, so that the directory holds something. }

interface

procedure OutputDebugString(lpOutputString: PChar); stdcall;

implementation

procedure OutputDebugString; external 'kernel32.dll' name 'OutputDebugStringA';

end.
