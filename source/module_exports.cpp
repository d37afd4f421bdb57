// The shared library the host loads: the module's logic library linked whole,
// of which only c4d_main, g_maxon and g_CpuYieldDelegate are exported.
