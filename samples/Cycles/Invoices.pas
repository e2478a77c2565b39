unit Invoices;

interface

implementation

uses Orders;

end.
