unit Customers;

interface

uses Invoices, Utils;

implementation

end.
