// The process-wide objects that the byte-level code refers to, for the host build.
#include "base/errorstate.h"

ErrorState TheErrorState;
