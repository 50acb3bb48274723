int rsc_answer(void)
{
    return 42;
}
