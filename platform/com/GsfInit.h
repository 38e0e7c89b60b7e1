// Starting libgsf once for the structured-storage writer.
#pragma once

// Calls gsf_init once per process and sends libgsf's GLib log (damage it worked around in a
// file) to the platform trace instead of the terminal. Safe from any thread.
void InitGsf();
