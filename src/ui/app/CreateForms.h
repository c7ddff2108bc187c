#pragma once

// Creates the program's windows once, in the order they depend on each other,
// and sets the global window pointers; destroyForms deletes them again and
// clears the pointers. The start window is not among them: main() makes it
// first, because it sets the working folder the tables are found in.
void createForms();
void destroyForms();
