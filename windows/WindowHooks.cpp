#include "WindowHooks.h"

TWindowHooks WindowHooks;
