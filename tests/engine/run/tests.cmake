kestrum_test(run kestrum_engine)
