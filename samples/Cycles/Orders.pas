unit Orders;

interface

uses Customers;

procedure PlaceOrder;

implementation

uses Utils;

procedure PlaceOrder;
begin
end;

end.
