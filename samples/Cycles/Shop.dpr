program Shop;

uses
  Shapes, Orders, Utils;

begin
  PlaceOrder;
end.
