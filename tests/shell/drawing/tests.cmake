# The task-line rule and the run's colours, checked against the handheld's own values.
kestrum_test(drawing kestrum_shell)
