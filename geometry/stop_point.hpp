// Long loops (cutting, horizon pieces, fault surfaces) pass a stop point now and then. A program
// that ends its work on a signal sets what a stop point does: throw, when the signal came, so
// that the work ends within moments of it. By default a stop point does nothing.
#pragma once

using stop_check = void (*)();

// From now on stop_point() calls check (none: nothing), on whichever thread passes it; a
// check that throws ends a pass of horizon pieces after its threads are joined.
void set_stop_check(stop_check check);

void stop_point();
