int rsc_answer(void);

int caller(void)
{
    return rsc_answer();
}
