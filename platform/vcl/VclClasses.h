// Every class of the class library that form files may name, registered in one call at
// start-up (the rich edit, in its own library, registers with RegisterRichEditClasses).
#pragma once

void RegisterVclClasses();
