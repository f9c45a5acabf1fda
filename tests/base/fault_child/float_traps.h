#pragma once

// Makes a floating-point division by zero fault instead of giving infinity.
void trapFloatDivisionByZero();
