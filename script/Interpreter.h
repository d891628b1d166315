#pragma once

class CDirectX;

// Runs scenario commands until one of them needs time, then returns. At "EOF" it returns at
// once on every call.
void runScript(CDirectX& dx);
