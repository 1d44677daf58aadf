# Hostile input against the engine, the sweeps and the settings store: deep
# and foreign names, damaged shortcut files, odd registry data, and a whole
# cleaning run with a folder link, a locked file and a read-only file in
# every target. The links are planted by the harness before the run.
kestrum_test(hardening kestrum_engine)
set(hardening_links
    "Temp/linked"
    "My Documents/Temp/linked"
    "My Documents/Temp1"
    "Windows/Profiles/guest/Temporary Internet Files/linked"
    "Windows/Profiles/guest/History/linked"
    "Windows/Profiles/guest/Cookies/linked"
    "Windows/Temporary Internet Files/linked"
    "Windows/History/sub/linked"
    "Windows/Cookies"
    "Windows/AppMgr/linked"
    "Windows/AppMgr/Install/linked"
    "Windows/Start Menu/Programs/linked"
    "Windows/Start Menu/linked.lnk"
    "Windows/StartUp/linked")
list(JOIN hardening_links ":" hardening_links_joined)
set_tests_properties(hardening PROPERTIES ENVIRONMENT "KESTRUM_PLANT_LINKS=${hardening_links_joined}")
