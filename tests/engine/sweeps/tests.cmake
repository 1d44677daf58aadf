# Internet-history tasks, dead-entry sweeps and the start-up folder.
# The link planted at D:\Links\folder lets the sweeps be tested against folder links.
kestrum_test(sweeps kestrum_engine)
set_tests_properties(sweeps PROPERTIES ENVIRONMENT "KESTRUM_PLANT_LINKS=Links/folder")
