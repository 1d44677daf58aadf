kestrum_test(sandbox)
