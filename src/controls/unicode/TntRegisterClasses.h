// Registers every class of the Unicode layer for form files.
#pragma once

void RegisterTntClasses();
