// The program that builds the test programs' precompiled GoogleTest header.
