int caller(void);

int main(void)
{
    return caller() == 42 ? 0 : 1;
}
