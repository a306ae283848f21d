// A shared library that loads but has no ClassicCreateDataSvc.
extern "C" int adp_nofactory_marker() { return 42; }
