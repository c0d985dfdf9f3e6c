// A shared object without the registration function.
extern "C" __attribute__((visibility("default"))) int qv_not_a_component() { return 1; }
