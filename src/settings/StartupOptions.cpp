// PLACEHOLDER until the startup options land.
#include "app/Form1.h"

void Form1::Check4_Click() {}
void Form1::Check8_Click() {}
