kestrum_test(engine kestrum_engine)
set_tests_properties(engine PROPERTIES ENVIRONMENT "KESTRUM_PLANT_LINKS=Purge Links/sub/linked:Linked Target")
