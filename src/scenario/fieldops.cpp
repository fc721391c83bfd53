// Field operations; filled in with the field manager.
#include "fieldops.h"
