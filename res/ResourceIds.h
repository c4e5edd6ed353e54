/* Resource identifiers shared by Vornatic.rc and the code that loads the resources. */
#pragma once

/* The first icon is the one Explorer shows for the executable. */
#define IDI_VORNATIC_APPLICATION 1
#define IDI_VORNATIC_TRAY 2
