# The emulated handheld's installer (tools/wceload): its reading of control
# files, and its uninstall record, as plain decisions.
kestrum_test(installer wceload_core)
