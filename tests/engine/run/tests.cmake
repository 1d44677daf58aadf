kestrum_test(run kestrum_pages kestrum_engine)
